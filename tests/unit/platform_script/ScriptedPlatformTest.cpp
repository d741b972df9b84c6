#include "platform/script/ScriptedPlatform.h"

#include <sstream>

#include <gtest/gtest.h>

#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/PlatformSpecs.h"

namespace velinor::platform {
namespace {

using test::InWindow;
using test::Spec;
using test::Window;

// Where a control stands matters to few of these tests: by default a small one in the corner.
ControlSpec Spec(ControlId id, ControlKind kind, ControlParent parent) { return test::Spec(id, kind, parent, {0, 0, 20, 20}); }

// A tiny program in the shape of the real one: a main window, an event loop with a few
// handlers, the quality window, the colour picker and a batch run that polls once a picture.
class FakeProgram {
public:
    explicit FakeProgram(Platform& ui) : ui_(ui) {}

    void Build() {
        ui_.OpenWindow(Window(0, "Fake", 620, 595));
        ui_.SetWindowOpacity(0, 0);
        ui_.SetWindowOpacity(0, 255);
        ControlSpec tabs = Spec(ControlId::PnlTabs, ControlKind::TabPanel, InWindow(), {0, 25, 618, 550});
        tabs.items = {"Bild", "Stapel"};
        ui_.CreateControl(tabs);
        ControlParent page{0, ControlId::PnlTabs, 0};
        ui_.CreateControl(Spec(ControlId::BtnOpen, ControlKind::Button, page, {65, 295, 155, 30}));
        ui_.CreateControl(Spec(ControlId::BtnSave, ControlKind::Button, page, {385, 295, 155, 30}));
        ui_.CreateControl(Spec(ControlId::BtnFont, ControlKind::Button, page));
        ui_.CreateControl(Spec(ControlId::BtnCircleColour, ControlKind::Button, page));
        ui_.CreateControl(Spec(ControlId::BtnLogoFile, ControlKind::Button, page));
        ui_.CreateControl(Spec(ControlId::BtnWebsite, ControlKind::Button, page));
        ui_.CreateControl(Spec(ControlId::BtnBatchStart, ControlKind::Button, page));
        ui_.CreateControl(Spec(ControlId::BtnOutputDir, ControlKind::Button, page));
        ui_.CreateControl(Spec(ControlId::BoxLogo, ControlKind::Container, page, {200, 350, 390, 158}));
        ui_.CreateControl(Spec(ControlId::OptLogoPos1, ControlKind::Option, {0, ControlId::BoxLogo, -1}));
        ControlSpec readOnly = Spec(ControlId::TxtLogoFile, ControlKind::TextField, {0, ControlId::BoxLogo, -1});
        readOnly.flags = kFlagReadOnly;
        ui_.CreateControl(readOnly);
        ui_.CreateControl(Spec(ControlId::TxtMark, ControlKind::TextField, page));
        ControlSpec list = Spec(ControlId::LstBatch, ControlKind::ReportList, {0, ControlId::PnlTabs, 1});
        list.items = {"File"};
        ui_.CreateControl(list);
        ui_.CreateControl(Spec(ControlId::TreeTextures, ControlKind::Tree, page));
        ui_.CreateStatusBar(0, {620});
        ui_.AcceptDrops(0, true);
    }

    // Runs the loop until a close event; returns how many events it handled.
    int Run() {
        Build();
        int handled = 0;
        for (;;) {
            Event event = ui_.WaitEvent();
            ++handled;
            events.push_back(event);
            if (event.code == kEventClose && event.window == 0) break;
            if (event.code == kEventControl) Dispatch(event.control);
        }
        ui_.CloseWindow(0);
        return handled;
    }

    void Dispatch(ControlId id) {
        switch (id) {
        case ControlId::BtnOpen:
            opened = ui_.OpenFileRequester({"Open", "", "Pictures|*.jpg", 0, ""});
            break;
        case ControlId::BtnSave: {
            saved = ui_.SaveFileRequester({"Save", "x.jpg", "JPEG|*.jpg|PNG|*.png", 0, ""});
            if (saved.patternIndex == 0) quality = AskQuality();
            break;
        }
        case ControlId::BtnFont:
            font = ui_.FontRequester({"arial", 10, -1});
            break;
        case ControlId::BtnCircleColour:
            colour = ui_.ColourRequester(0xE5E5E5);
            break;
        case ControlId::BtnLogoFile:
            picked = PickColour();
            break;
        case ControlId::BtnWebsite:
            ui_.OpenUrl("https://example.org/velinor");
            folder = ui_.FolderRequester("Folder", "c:/");
            answers.push_back(ui_.MessageBox("Frage", "Weiter?\r\nJa", MessageIcon::Warning, MessageButtons::YesNo));
            answers.push_back(ui_.MessageBox("Info", "Fertig", MessageIcon::Information, MessageButtons::Ok));
            break;
        case ControlId::BtnBatchStart:
            RunBatch();
            break;
        default:
            break;
        }
    }

    int AskQuality() {
        ui_.EnableWindow(0, false);
        ui_.OpenWindow(Window(4, "Quality", 250, 80, 0));
        ControlSpec track = Spec(ControlId::TrkQuality, ControlKind::TrackBar, InWindow(4));
        track.maximum = 10;
        ui_.CreateControl(track);
        ui_.SetState(ControlId::TrkQuality, 4);
        ui_.CreateControl(Spec(ControlId::BtnQualityOk, ControlKind::Button, InWindow(4)));
        for (;;) {
            Event event = ui_.WaitEvent();
            if (event.code == kEventControl && event.control == ControlId::BtnQualityOk) break;
        }
        int value = ui_.GetState(ControlId::TrkQuality);
        ui_.CloseWindow(4);
        ui_.EnableWindow(0, true);
        return value;
    }

    int PickColour() {
        ui_.EnableWindow(0, false);
        ui_.OpenWindow(Window(5, "Picker", 300, 300));
        render::RasterImage picture;
        picture.width = 4;
        picture.height = 4;
        for (int i = 0; i < 16; ++i) picture.pixels.push_back(static_cast<render::Color>(0x010101 * i));
        ControlSpec image = Spec(ControlId::ImgPicker, ControlKind::Image, InWindow(5), {0, 0, 300, 300});
        image.image = &picture;
        ui_.CreateControl(image);
        int result = 0;
        for (;;) {
            Event event = ui_.WaitEvent();
            if (event.code == kEventControl && event.control == ControlId::ImgPicker &&
                ui_.ControlScreenRect(ControlId::ImgPicker).Contains(ui_.PointerPosition())) {
                result = ui_.ScreenPixel(ui_.PointerPosition());
                break;
            }
            if (event.code == kEventClose && ui_.WindowExists(5)) break;
        }
        ui_.CloseWindow(5);
        ui_.EnableWindow(0, true);
        return result;
    }

    void RunBatch() {
        WindowSpec window = Window(3, "Progress", 500, 250);
        window.captionOnly = true;
        ui_.OpenWindow(window);
        ui_.CreateControl(Spec(ControlId::BtnBatchCancel, ControlKind::Button, InWindow(3)));
        ui_.CreateControl(Spec(ControlId::TxtBatchLog, ControlKind::TextField, InWindow(3)));
        ui_.SetText(ControlId::TxtMark, "running");
        batchDone = 0;
        for (int n = 1; n <= 10; ++n) {
            Event event = ui_.PollEvent();
            if (event.code == kEventControl && event.control == ControlId::BtnBatchCancel) break;
            ++batchDone;
            ui_.SetText(ControlId::TxtBatchLog, ui_.GetText(ControlId::TxtBatchLog) + "pic" + std::to_string(n) + "\r\n");
        }
        ui_.CloseWindow(3);
    }

    Platform& ui_;
    std::vector<Event> events;
    std::string opened = "unset";
    SaveAnswer saved;
    int quality = -1;
    std::optional<FontAnswer> font;
    int colour = -2;
    int picked = -1;
    std::string folder = "unset";
    std::vector<MessageAnswer> answers;
    int batchDone = -1;
};

// A script run of the fake program on the in-memory platform, with its log.
struct ScriptRun {
    explicit ScriptRun(const std::string& text) {
        ScriptParse parsed = ParseScript(text);
        EXPECT_FALSE(parsed.error) << parsed.error->Describe();
        scripted.emplace(backend, backend, std::move(parsed.script), log);
        program.emplace(*scripted);
        handled = program->Run();
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(log.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Only the lines that start with prefix.
    std::vector<std::string> Lines(const std::string& prefix) const {
        std::vector<std::string> lines;
        for (const auto& line : Lines()) {
            if (line.rfind(prefix, 0) == 0) lines.push_back(line);
        }
        return lines;
    }

    HeadlessPlatform backend;
    std::ostringstream log;
    std::optional<ScriptedPlatform> scripted;
    std::optional<FakeProgram> program;
    int handled = 0;
};

TEST(ScriptedRun, RequestersTakeTheirAnswersInOrderPerKindAndCancelWhenNoneIsLeft) {
    ScriptRun run(
        "answer folder \"/data/out\"\n"
        "answer open \"/pics/one.jpg\"\n"
        "answer message no\n"
        "answer colour 0x0000FF\n"
        "answer font \"Liberation Sans\" 12 bold colour 0x00FF00\n"
        "click BtnOpen\n"
        "click BtnCircleColour\n"
        "click BtnFont\n"
        "click BtnWebsite\n"
        "answer message yes\n"     // an answer a plain OK box does not offer: OK all the same
        "click BtnWebsite\n"
        "click BtnOpen\n"
        "click BtnCircleColour\n"
        "click BtnFont\n"
        "close\n");
    EXPECT_EQ(run.program->opened, "") << "the second open requester had no answer left";
    EXPECT_EQ(run.program->colour, -1);
    EXPECT_FALSE(run.program->font);
    EXPECT_EQ(run.program->folder, "") << "the second folder requester is cancelled";
    EXPECT_EQ(run.program->answers,
              (std::vector<MessageAnswer>{MessageAnswer::No, MessageAnswer::Ok, MessageAnswer::Yes, MessageAnswer::Ok}));

    auto requesters = run.Lines("requester");
    ASSERT_EQ(requesters.size(), 8u);
    EXPECT_EQ(requesters[0], "requester open title=\"Open\" default=\"\" pattern=\"Pictures|*.jpg\" index=0 -> \"/pics/one.jpg\"");
    EXPECT_EQ(requesters[1], "requester colour initial=0xE5E5E5 -> 0x0000FF");
    EXPECT_EQ(requesters[2], "requester font face=\"arial\" size=10 -> \"Liberation Sans\" 120 bold colour=0x00FF00");
    EXPECT_EQ(requesters[3], "requester folder title=\"Folder\" initial=\"c:/\" -> \"/data/out/\"")
        << "a chosen folder ends with '/'";
    EXPECT_EQ(requesters[4], "requester folder title=\"Folder\" initial=\"c:/\" -> cancel");
    EXPECT_EQ(requesters[5], "requester open title=\"Open\" default=\"\" pattern=\"Pictures|*.jpg\" index=0 -> cancel");
    EXPECT_EQ(requesters[6], "requester colour initial=0xE5E5E5 -> cancel");
    EXPECT_EQ(requesters[7], "requester font face=\"arial\" size=10 -> cancel");

    auto messages = run.Lines("message");
    ASSERT_EQ(messages.size(), 4u);
    EXPECT_EQ(messages[0], "message caption=\"Frage\" text=\"Weiter?\\r\\nJa\" icon=warning buttons=yesno -> no");
    EXPECT_EQ(messages[1], "message caption=\"Info\" text=\"Fertig\" icon=information buttons=ok -> ok");
    EXPECT_EQ(run.Lines("url"), std::vector<std::string>(2, "url \"https://example.org/velinor\""));
    EXPECT_TRUE(run.backend.OpenedUrls().empty()) << "a scripted run never opens a browser";
}

TEST(ScriptedRun, TheQualityWindowTakesTheQueuedValueOrItsDefault) {
    ScriptRun run(
        "answer save \"/out/a.jpg\" 0\n"
        "answer quality 8\n"
        "click BtnSave\n"
        "print text BtnSave\n"
        "answer save \"/out/b.jpg\" 0\n"
        "click BtnSave\n");
    EXPECT_EQ(run.program->quality, 4) << "the second opening had no answer: OK at the start value";
    auto lines = run.Lines();
    std::vector<std::string> expected = {
        "window open 0 \"Fake\" 620x595",
        "window opacity 0 0",
        "window opacity 0 255",
        "requester save title=\"Save\" default=\"x.jpg\" pattern=\"JPEG|*.jpg|PNG|*.png\" index=0 -> \"/out/a.jpg\" 0",
        "window enable 0 0",
        "window open 4 \"Quality\" 250x80",
        "window close 4",
        "window enable 0 1",
        "text BtnSave \"\"",
        "requester save title=\"Save\" default=\"x.jpg\" pattern=\"JPEG|*.jpg|PNG|*.png\" index=0 -> \"/out/b.jpg\" 0",
        "window enable 0 0",
        "window open 4 \"Quality\" 250x80",
        "window close 4",
        "window enable 0 1",
        "window close 0",
    };
    EXPECT_EQ(lines, expected);
}

TEST(ScriptedRun, TheQualityAnswerReachesTheProgram) {
    ScriptRun run("answer save \"/out/a.jpg\" 0\nanswer quality 9\nclick BtnSave\n");
    EXPECT_EQ(run.program->quality, 9);
}

TEST(ScriptedRun, ThePickerIsClickedAtAPicturePixelOrClosed) {
    ScriptRun clicked("answer picker 2 1\nclick BtnLogoFile\n");
    EXPECT_EQ(clicked.program->picked, 0x010101 * 6) << "pixel (2, 1) of the 4 x 4 picture";

    ScriptRun closed("answer picker close\nclick BtnLogoFile\n");
    EXPECT_EQ(closed.program->picked, 0);
    ScriptRun unanswered("click BtnLogoFile\n");
    EXPECT_EQ(unanswered.program->picked, 0) << "no answer closes the picker rather than hang";
    EXPECT_EQ(unanswered.Lines("window close 5").size(), 1u);
}

TEST(ScriptedRun, CancelBatchClicksCancelAfterThatManyPictures) {
    ScriptRun run("answer cancel-batch 3\nclick BtnBatchStart\nclick BtnBatchStart\n");
    EXPECT_EQ(run.program->batchDone, 10) << "the answer serves one run only";
    ScriptRun first("answer cancel-batch 3\nclick BtnBatchStart\n");
    EXPECT_EQ(first.program->batchDone, 3);
    EXPECT_EQ(first.Lines(), (std::vector<std::string>{
                                 "window open 0 \"Fake\" 620x595",
                                 "window opacity 0 0",
                                 "window opacity 0 255",
                                 "window open 3 \"Progress\" 500x250",
                                 "text TxtBatchLog \"pic1\\r\\n\"",
                                 "append TxtBatchLog \"pic2\\r\\n\"",
                                 "append TxtBatchLog \"pic3\\r\\n\"",
                                 "window close 3",
                                 "window close 0",
                             }))
        << "the batch log is followed as it grows; main-window texts are not logged";
    ScriptRun none("answer cancel-batch 0\nclick BtnBatchStart\n");
    EXPECT_EQ(none.program->batchDone, 0);
    // Polls outside a batch run leave the answer waiting.
    ScriptRun later("answer cancel-batch 1\nclick BtnOpen\nclick BtnBatchStart\n");
    EXPECT_EQ(later.program->batchDone, 1);
}

TEST(ScriptedRun, AScriptThatEndsWithoutCloseIsClosed) {
    ScriptRun run("click BtnOpen\n");
    ASSERT_FALSE(run.program->events.empty());
    EXPECT_EQ(run.program->events.back().code, kEventClose);
    EXPECT_EQ(run.handled, 2);
    EXPECT_TRUE(run.scripted->ScriptFinished());
}

TEST(ScriptedRun, AProgramThatIgnoresCloseIsGivenUp) {
    HeadlessPlatform backend;
    std::ostringstream log;
    ScriptedPlatform scripted(backend, backend, ParseScript("close\n").script, log);
    bool gaveUp = false;
    scripted.SetRunawayHandler([&] { gaveUp = true; }, 5);
    for (int i = 0; i < 7 && !gaveUp; ++i) EXPECT_EQ(scripted.WaitEvent().code, kEventClose);
    EXPECT_TRUE(gaveUp);
    EXPECT_EQ(log.str(), "script ended but the program keeps waiting\n");
}

TEST(ScriptedRun, ActionsAUserCouldNotPerformAreLoggedAndIgnored) {
    HeadlessPlatform backend;
    std::ostringstream log;
    ScriptedPlatform scripted(
        backend, backend,
        ParseScript("click BtnBatchStart\nclick OptLogoPos1\ntype TxtLogoFile \"x\"\nset BtnOpen 3\n"
                    "select LstBatch 0\nclick BtnQualityOk\ntype TxtMark \"ok\"\n")
            .script,
        log);
    FakeProgram program(scripted);
    program.Build();
    backend.EnableControl(ControlId::BtnBatchStart, false);
    backend.ShowControl(ControlId::BoxLogo, false);
    Event event = scripted.WaitEvent();
    EXPECT_EQ(event.control, ControlId::TxtMark);
    EXPECT_EQ(log.str().substr(log.str().find("ignored")),
              "ignored click BtnBatchStart: disabled\n"
              "ignored click OptLogoPos1: hidden in BoxLogo\n"
              "ignored type TxtLogoFile: hidden in BoxLogo\n"
              "ignored set BtnOpen: not a control with a value\n"
              "ignored select LstBatch: empty list\n"
              "ignored click BtnQualityOk: no such control\n");
    backend.EnableWindow(0, false);
    std::ostringstream log2;
    ScriptedPlatform again(backend, backend, ParseScript("click BtnOpen\nclose\n").script, log2);
    EXPECT_EQ(again.WaitEvent().code, kEventClose);
    EXPECT_EQ(log2.str(), "ignored click BtnOpen: window 0 disabled\n");
}

TEST(ScriptedRun, PrintLinesShowTheStateTheProgramLeft) {
    HeadlessPlatform backend;
    std::ostringstream log;
    render::RasterImage picture;
    picture.width = 640;
    picture.height = 480;
    ScriptedPlatform scripted(backend, backend,
                              ParseScript("set PnlTabs 1\n"
                                          "select LstBatch 1\n"
                                          "hover BtnSave\n"
                                          "print state PnlTabs\nprint text TxtMark\nprint visible BoxLogo\n"
                                          "print enabled BtnOpen\nprint items LstBatch\nprint items PnlTabs\n"
                                          "print items TreeTextures\nprint geometry BtnSave\nprint status\n"
                                          "print image 45\nprint image 46\nprint text ImgPicker\n"
                                          "save-image 45 \"/tmp/x.png\"\n")
                                  .script,
                              log);
    scripted.SetImageSource([&](int number) { return number == 45 ? &picture : nullptr; });
    FakeProgram program(scripted);
    program.Build();
    scripted.SetText(ControlId::TxtMark, "line\r\n\"two\"");
    scripted.AddItem(ControlId::LstBatch, "/a.jpg");
    scripted.AddItem(ControlId::LstBatch, "/b.jpg");
    int wood = scripted.AddTreeItem(ControlId::TreeTextures, -1, "Holz", nullptr);
    scripted.AddTreeItem(ControlId::TreeTextures, -1, "Stein", nullptr);
    scripted.AddTreeItem(ControlId::TreeTextures, wood, "a.jpg", nullptr);
    scripted.ShowControl(ControlId::BoxLogo, false);
    scripted.SetStatusText(0, "Hinweis");

    EXPECT_EQ(scripted.WaitEvent().control, ControlId::PnlTabs);
    EXPECT_EQ(scripted.WaitEvent().control, ControlId::LstBatch);
    Event hover = scripted.WaitEvent();
    EXPECT_EQ(hover.code, kEventPointerMove);
    Rect save = backend.ControlScreenRect(ControlId::BtnSave);
    EXPECT_EQ(backend.PointerPosition().x, save.x + save.width / 2);
    EXPECT_EQ(backend.PointerPosition().y, save.y + save.height / 2);
    EXPECT_EQ(scripted.WaitEvent().code, kEventClose);

    std::string all = log.str();
    std::string prints = all.substr(all.find("state PnlTabs"));
    EXPECT_EQ(prints,
              "state PnlTabs 1\n"
              "text TxtMark \"line\\r\\n\\\"two\\\"\"\n"
              "visible BoxLogo 0\n"
              "enabled BtnOpen 1\n"
              "items LstBatch [\"/a.jpg\", \"/b.jpg\"*]\n"
              "items PnlTabs [\"Bild\", \"Stapel\"]\n"
              "items TreeTextures [\"Holz\" [\"a.jpg\"], \"Stein\"]\n"
              "geometry BtnSave 385 295 155 30\n"
              "status \"Hinweis\"\n"
              "image 45 640 480\n"
              "image 46 none\n"
              "text ImgPicker missing\n"
              "save-image not yet\n");
}

TEST(ScriptedRun, ImagesAreSavedThroughTheSaver) {
    HeadlessPlatform backend;
    std::ostringstream log;
    render::RasterImage picture;
    picture.width = 2;
    picture.height = 2;
    ScriptedPlatform scripted(backend, backend,
                              ParseScript("save-image 45 \"/tmp/a.png\"\nsave-image 46 \"/tmp/b.png\"\n"
                                          "save-image 45 \"/nowhere/c.png\"\n")
                                  .script,
                              log);
    scripted.SetImageSource([&](int number) { return number == 45 ? &picture : nullptr; });
    std::vector<std::string> written;
    scripted.SetImageSaver([&](const render::RasterImage& image, const std::string& path) {
        EXPECT_EQ(&image, &picture);
        written.push_back(path);
        return path.rfind("/tmp/", 0) == 0;
    });
    scripted.WaitEvent();
    EXPECT_EQ(written, (std::vector<std::string>{"/tmp/a.png", "/nowhere/c.png"}));
    EXPECT_EQ(log.str(), "save-image 46 none\nsave-image 45 failed \"/nowhere/c.png\"\n");
}

TEST(ScriptedRun, WindowChangesAreLoggedOnlyWhenTheyHappen) {
    HeadlessPlatform backend;
    std::ostringstream log;
    ScriptedPlatform scripted(backend, backend, Script{}, log);
    WindowSpec hidden = Window(0, "Main", 10, 10);
    hidden.hidden = true;
    scripted.OpenWindow(hidden);
    scripted.ShowWindow(0, true);
    scripted.ShowWindow(0, true);
    scripted.EnableWindow(0, true);
    scripted.EnableWindow(0, false);
    scripted.CloseWindow(7);
    scripted.CloseWindow(0);
    EXPECT_EQ(log.str(),
              "window open 0 \"Main\" 10x10 hidden\n"
              "window show 0 1\n"
              "window enable 0 0\n"
              "window close 0\n");
}

}  // namespace
}  // namespace velinor::platform
