// The whole program on a real X server (Xvfb), driven by mouse and key input as a user gives
// it: the settings panel follows a clicked mode without the pointer moving again, each language
// shows no word of the other, requesters start where the user was, the quality window shows its
// value and the result can be looked at full size. What the window shows is read from the widgets,
// never from the program's own model.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <set>

#include "app/EventLoop.h"
#include "app/ImageNumbers.h"
#include "app/ProgramState.h"
#include "app/QualityWindow.h"
#include "app/RenderCycle.h"
#include "app/StartUp.h"
#include "imageio/Writer.h"
#include "platform/qt/FileBrowser.h"
#include "tests/gui/GuiFixture.h"

// Failures show Qt's strings as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace velinor::platform::qt::test {
namespace {

namespace fs = std::filesystem;

// Runs check on the first modal window that comes up (a requester or a message box), from
// inside its own event loop. It waits up to a minute (a loaded machine is slow to open a file
// dialog), so that a window that never comes fails the test instead of hanging it.
void WhenModal(std::function<void(QWidget*)> check) {
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [check, tries, poll] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            check(modal);
            // A dialog can come up while it is still being shown, before its own loop runs: a
            // close then ends nothing and the loop would wait for ever. Ending it again once the
            // loop runs is harmless when it has ended already.
            const QPointer<QDialog> dialog = qobject_cast<QDialog*>(modal);
            for (int delay : {200, 1000, 5000}) {
                QTimer::singleShot(delay, [dialog] {
                    if (dialog && !dialog->isVisible()) dialog->done(dialog->result());
                });
            }
            return;
        }
        if (++*tries < 3000) {
            QTimer::singleShot(20, *poll);
        } else {
            ADD_FAILURE() << "no modal window came up";
        }
    };
    QTimer::singleShot(20, *poll);
}

// A modal window other than the one a check waits for fails the test and is closed, so that
// the test goes on.
void CloseUnexpected(QWidget* modal) {
    ADD_FAILURE() << "another window: " << modal->metaObject()->className();
    modal->close();
}

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        runtime_ = std::make_unique<RuntimeFolder>();
        folder_ = runtime_->Path();
        platform = std::make_unique<QtPlatform>();
        platform->SetProgramDirectory(VELINOR_STAGE_DIR);
    }
    void TearDown() override {
        state.reset();
        platform.reset();
        Settle();
        runtime_.reset();
    }

    void Start() {
        state = std::make_unique<app::ProgramState>(*platform, std::vector<std::string>{});
        ASSERT_TRUE(app::StartUp(*state));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(platform->WindowWidget(0)));
        Pump(true);
    }

    // Handles what the window queued, as the event loop does. Pointer movement is left out
    // unless asked for: the user does not move the mouse after a click.
    void Pump(bool withPointer = false) {
        for (int round = 0; round < 5; ++round) {
            QTest::qWait(10);
            while (platform->HasPendingEvent()) {
                const Event event = platform->PollEvent();
                if (!withPointer && event.code == kEventPointerMove) continue;
                app::HandleEvent(*state, event);
            }
        }
    }

    QWidget* Widget(ControlId id) { return platform->ControlWidget(id); }

    struct Seen {
        QString title;
        QString text;
    };

    // Presses the texture frame's update button with no texture chosen, then the open button;
    // what the message box and the open requester said.
    std::pair<Seen, Seen> MessageAndRequester() {
        Seen message, requester;
        Click(Widget(ControlId::OptModeFrame));
        WhenModal([&message](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr) return CloseUnexpected(modal);
            message = {box->windowTitle(), box->text()};
            box->accept();
        });
        Click(Widget(ControlId::BtnTexUpdate));
        WhenModal([&requester](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) return CloseUnexpected(modal);
            requester.title = dialog->windowTitle();
            dialog->reject();
        });
        Click(Widget(ControlId::BtnOpen));
        return {message, requester};
    }

    // A left click at the middle of a control, after the pointer has come to rest there.
    void Click(QWidget* widget) {
        QTest::mouseMove(widget, widget->rect().center());
        Pump(true);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        Pump();
    }

    // The toolbar's flags from left to right: German, English.
    QToolButton* Flag(int index) {
        auto* toolbar = platform->WindowWidget(0)->findChild<QToolBar*>();
        if (toolbar == nullptr) return nullptr;
        std::vector<QToolButton*> flags;
        for (QToolButton* button : toolbar->findChildren<QToolButton*>()) {
            if (button->isCheckable() && button->isVisible()) flags.push_back(button);
        }
        std::sort(flags.begin(), flags.end(), [](QToolButton* a, QToolButton* b) { return a->x() < b->x(); });
        return index < static_cast<int>(flags.size()) ? flags[static_cast<std::size_t>(index)] : nullptr;
    }

    std::string WritePhoto(int width, int height) {
        render::RasterImage photo;
        photo.width = width;
        photo.height = height;
        photo.pixels.resize(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) photo.At(x, y) = render::MakeColor(x * 200 / width, y * 200 / height, 60);
        }
        const std::string path = (folder_ / "photo.png").string();
        EXPECT_EQ(imageio::SavePicture(&photo, path, imageio::kEncoderPng, 7), 1);
        return path;
    }

    ScratchUserFolders user;
    std::unique_ptr<QtPlatform> platform;
    std::unique_ptr<app::ProgramState> state;
    std::unique_ptr<RuntimeFolder> runtime_;
    fs::path folder_;
};

// ---------------------------------------------------------------------------------------------

TEST_F(RealWindow, AClickedModeShowsItsPanelWithoutThePointerMoving) {
    Start();
    struct Case {
        ControlId option;
        ControlId shown;
    };
    for (const Case c : {Case{ControlId::OptModeLogo, ControlId::BoxLogo}, Case{ControlId::OptModeFrame, ControlId::BoxFrame},
                         Case{ControlId::OptModeText, ControlId::BoxText}}) {
        SCOPED_TRACE(static_cast<int>(c.option));
        Click(Widget(c.option));
        ASSERT_TRUE(static_cast<QAbstractButton*>(Widget(c.option))->isChecked());
        for (ControlId box : {ControlId::BoxText, ControlId::BoxLogo, ControlId::BoxFrame}) {
            EXPECT_EQ(Widget(box)->isVisible(), box == c.shown) << static_cast<int>(box);
        }
    }
    // The frame kind picked with the keyboard changes the frame panel at once too.
    Click(Widget(ControlId::OptModeFrame));
    EXPECT_TRUE(Widget(ControlId::BoxTexture)->isVisible());
    QTest::keyClick(Widget(ControlId::CmbFrameKind), Qt::Key_Down);
    Pump();
    EXPECT_EQ(static_cast<QComboBox*>(Widget(ControlId::CmbFrameKind))->currentIndex(), 1);
    EXPECT_TRUE(Widget(ControlId::BoxCircles)->isVisible());
    EXPECT_FALSE(Widget(ControlId::BoxTexture)->isVisible());
}

// Words of each language's window, written down by hand. "Text", "Logo", "Position", "Name",
// "INFO" and "OK" are the same in both and are in neither list.
const std::set<QString> kGermanWords = {
    "Bild", "Bilder", "stempeln", "Stapelverarbeitung", "Einstellungen", "Originalbild", "Vorschau", "öffnen",
    "speichern", "Stempel-Einstellungen", "Modus", "Rahmen", "Schrift", "wählen", "anwenden", "Mitte", "Oben", "Unten",
    "links", "rechts", "Starten", "Auswahl", "hinzu", "Alle", "hinzufügen", "Entfernen", "Liste", "leeren", "Sortieren",
    "Nach", "unten", "oben", "Ausgabeordner", "Wählen", "Dateinamen", "beibehalten", "Datei", "Randbreite", "Transparenz",
    "Aktualisieren", "Maximaler", "Kreisradius", "Kreisabstand", "Seiten", "Ausgefüllte", "Kreise", "Farbe",
    "Auswählen", "Textur", "Kreis", "Standardordner", "Durchsuchen", "Meldung", "Sie", "haben", "keine", "ausgewählt",
    "Versieht", "Fotos", "einem", "oder", "Neue", "Versionen", "und", "Hilfe", "finden", "Ihre", "unserer", "Webseite",
    "Das", "Originalbild,", "so", "wie", "es", "geöffnet", "wurde",
};
const std::set<QString> kEnglishWords = {
    "Stamp", "picture", "Batch", "Settings", "Original", "Preview", "Open", "Save", "settings", "Mode", "Frame",
    "Choose", "font", "Apply", "text", "Centre", "Top", "Bottom", "centre", "left", "right", "Start", "Add", "selected",
    "all", "Remove", "Clear", "list", "Sort", "Move", "down", "up", "Output", "folder", "Keep", "file", "names", "Font",
    "File", "Band", "width", "Transparency", "Update", "Largest", "circle", "radius", "Circle", "spacing", "sides",
    "Filled", "circles", "colour", "Texture", "frame", "Default", "Browse", "Message", "You", "have", "not", "chosen",
    "texture", "Pictures", "Stamps", "photos", "with", "or", "New", "versions", "and", "help", "are", "on", "our",
    "website", "The", "original", "as", "it", "was", "opened", "Size",
};

// Every text of the main window the user can come to see: captions, labels, buttons, tab
// names, combo entries, column headers, fields and the title. Entries of lists and trees are
// the user's files and the texture folders' names, not texts of the program, and stay out.
QStringList WindowTexts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
        if (auto* frame = qobject_cast<QGroupBox*>(widget)) texts << frame->title();
        if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
        }
        // The folder combo shows folders of the disk.
        auto* combo = qobject_cast<QComboBox*>(widget);
        if (combo != nullptr && dynamic_cast<FolderComboWidget*>(widget) == nullptr) {
            for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        }
        if (auto* list = qobject_cast<QTreeWidget*>(widget); list != nullptr && !list->isHeaderHidden()) {
            for (int i = 0; i < list->columnCount(); ++i) texts << list->headerItem()->text(i);
        }
        if (auto* edit = qobject_cast<QTextEdit*>(widget)) texts << edit->toPlainText();
    }
    return texts;
}

// The words of texts that belong to the other language.
QStringList ForeignWords(const QStringList& texts, const std::set<QString>& other) {
    QStringList found;
    static const QRegularExpression kSplit("[\\s:»«\"()/.,!?+\\-&]+");
    for (const QString& text : texts) {
        for (const QString& word : text.split(kSplit, Qt::SkipEmptyParts)) {
            if (other.count(word) != 0) found << word + " (in \"" + text + "\")";
        }
    }
    return found;
}

TEST_F(RealWindow, EachLanguageShowsNoWordOfTheOther) {
    Start();
    QWidget* window = platform->WindowWidget(0);

    QStringList german = WindowTexts(window);
    auto [germanMessage, germanRequester] = MessageAndRequester();
    german << germanMessage.title << germanMessage.text << germanRequester.title;
    EXPECT_EQ(germanMessage.title, "Meldung");
    EXPECT_EQ(germanMessage.text, "Sie haben keine Textur ausgewählt");
    EXPECT_EQ(germanRequester.title, "Bilder");
    EXPECT_EQ(ForeignWords(german, kEnglishWords), QStringList{});

    // The English flag, clicked; then the same again. The first click on the open button after
    // the switch opens the requester, and the window stays English.
    ASSERT_NE(Flag(1), nullptr);
    Click(Flag(1));
    EXPECT_EQ(static_cast<QAbstractButton*>(Widget(ControlId::BtnOpen))->text(), "Open picture");
    QStringList english = WindowTexts(window);
    auto [englishMessage, englishRequester] = MessageAndRequester();
    english << englishMessage.title << englishMessage.text << englishRequester.title;
    EXPECT_EQ(englishMessage.title, "Message");
    EXPECT_EQ(englishRequester.title, "Pictures");
    EXPECT_EQ(ForeignWords(english, kGermanWords), QStringList{});
    EXPECT_EQ(static_cast<QAbstractButton*>(Widget(ControlId::BtnOpen))->text(), "Open picture");
    EXPECT_TRUE(Flag(1)->isChecked());
    EXPECT_FALSE(Flag(0)->isChecked());
    // The German column header and frame panel come back with the German flag.
    Click(Flag(0));
    EXPECT_EQ(static_cast<QTreeWidget*>(Widget(ControlId::LstBatch))->headerItem()->text(0), "Datei");
    EXPECT_EQ(static_cast<QAbstractButton*>(Widget(ControlId::ChkCircleFilled))->text(), "Ausgefüllte Kreise");
    EXPECT_EQ(static_cast<QComboBox*>(Widget(ControlId::CmbFrameKind))->itemText(1), "Kreis Rahmen");
}

// ---------------------------------------------------------------------------------------------

class Requesters : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(user.Root() + "/trip"));
        ASSERT_TRUE(QDir().mkpath(user.Root() + "/out"));
        QFile photo(user.Root() + "/trip/a.jpg");
        ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
        photo.write("x");
    }

    // The folder a file requester opens in; then chooses choice in it (or cancels).
    static QString OpenedIn(const std::function<void()>& ask, const QString& choice = {}) {
        QString folder;
        WhenModal([&folder, choice](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (dialog == nullptr) return CloseUnexpected(modal);
            folder = dialog->directory().absolutePath();
            if (choice.isEmpty()) {
                dialog->reject();
                return;
            }
            // Typed into the name field, as a user would: selectFile waits for the folder to be
            // read, which OK does not.
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (name == nullptr) return CloseUnexpected(modal);
            name->setText(choice);
            static_cast<QDialog*>(dialog)->accept();   // QFileDialog::accept, as its OK button
        });
        ask();
        return folder;
    }

    ScratchUserFolders user;
};

TEST_F(Requesters, StartInThePicturesFolderThenWhereTheUserWasLastEvenAfterARestart) {
    const FileRequest open{"Bilder", "", "Bilder|*.jpg", 0, ""};
    {
        QtPlatform platform;
        std::string chosen;
        EXPECT_EQ(OpenedIn([&] { chosen = platform.OpenFileRequester(open); }, user.Root() + "/trip/a.jpg"),
                  user.Pictures());
        EXPECT_EQ(chosen, (user.Root() + "/trip/a.jpg").toStdString());
        EXPECT_EQ(OpenedIn([&] { platform.OpenFileRequester(open); }), user.Root() + "/trip");
        // The save requester starts beside the opened picture; with no picture, in the pictures.
        FileRequest save{"Bild speichern", "*.*", "JPEG|*.jpg", 0, (user.Root() + "/trip/").toStdString()};
        EXPECT_EQ(OpenedIn([&] { platform.SaveFileRequester(save); }), user.Root() + "/trip");
        save.folderHint.clear();
        EXPECT_EQ(OpenedIn([&] { platform.SaveFileRequester(save); }, user.Root() + "/out/b.jpg"), user.Pictures());
        // A folder the program names wins over both.
        save.defaultFile = user.Pictures().toStdString();
        save.folderHint = (user.Root() + "/trip/").toStdString();
        EXPECT_EQ(OpenedIn([&] { platform.SaveFileRequester(save); }), user.Pictures());
    }
    QtPlatform restarted;
    EXPECT_EQ(OpenedIn([&] { restarted.OpenFileRequester(open); }), user.Root() + "/trip");
    const FileRequest save{"Bild speichern", "*.*", "JPEG|*.jpg", 0, ""};
    EXPECT_EQ(OpenedIn([&] { restarted.SaveFileRequester(save); }), user.Root() + "/out");
    // A remembered folder that is gone is passed over.
    ASSERT_TRUE(QDir(user.Root() + "/trip").removeRecursively());
    EXPECT_EQ(OpenedIn([&] { restarted.OpenFileRequester(open); }), user.Pictures());
}

// ---------------------------------------------------------------------------------------------

TEST_F(RealWindow, TheQualityWindowShowsItsValueAndTheQualityItGives) {
    Start();
    QStringList shown;
    QRect valueBox;
    std::vector<QRect> others;
    auto step = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&, step, poll] {
        auto* value = qobject_cast<QLabel*>(Widget(ControlId::LblQualityValue));
        if (value != nullptr && value->isVisible()) {
            if (*step == 0) {
                shown << value->text();
                valueBox = value->geometry();
                for (ControlId id : {ControlId::LblQuality, ControlId::LblQualityLow, ControlId::TrkQuality,
                                     ControlId::LblQualityHigh, ControlId::BtnQualityOk}) {
                    others.push_back(Widget(id)->geometry());
                }
                auto* slider = static_cast<QSlider*>(Widget(ControlId::TrkQuality));
                slider->setFocus();
                QTest::keyClick(slider, Qt::Key_Right);
                QTest::keyClick(slider, Qt::Key_Right);
            } else if (*step == 3) {
                shown << value->text();
                auto* slider = static_cast<QSlider*>(Widget(ControlId::TrkQuality));
                QTest::keyClick(slider, Qt::Key_Home);
            } else if (*step == 6) {
                shown << value->text();
                QTest::mouseClick(Widget(ControlId::BtnQualityOk), Qt::LeftButton);
                return;
            }
            ++*step;
        }
        QTimer::singleShot(20, *poll);
    };
    QTimer::singleShot(20, *poll);
    EXPECT_EQ(app::AskJpegQuality(*state), 0);
    EXPECT_EQ(shown, (QStringList{"4 → 40", "6 → 60", "0 → 1"}));
    // Beside the caption, inside the window, over none of the window's own controls.
    EXPECT_GE(valueBox.left(), 0);
    EXPECT_LE(valueBox.right(), 249);
    for (const QRect& other : others) EXPECT_FALSE(valueBox.intersects(other)) << other.x() << "," << other.y();
}

// ---------------------------------------------------------------------------------------------

TEST_F(RealWindow, ADoubleClickOnThePreviewShowsTheResultAtFullSizeOnTheMark) {
    Start();
    state->shell.CurrentFile = WritePhoto(2560, 1600);
    state->shell.PictureLoaded = true;
    ASSERT_TRUE(app::ShowOpenedPicture(*state));
    // A 12-pixel mark far from the centre, as a small text mark would be.
    ASSERT_EQ(app::RenderCycle(*state,
                               [](render::RasterImage& work) {
                                   for (int y = 800; y < 812; ++y) {
                                       for (int x = 2000; x < 2012; ++x) work.At(x, y) = render::kWhite;
                                   }
                                   return true;
                               }),
              app::RenderOutcome::Published);
    Pump(true);

    QSize pictureSize;
    QPoint middle;
    QColor atMark, elsewhere;
    bool closed = false;
    WhenModal([&](QWidget* modal) {
        if (modal->objectName() != "PictureView") return CloseUnexpected(modal);
        auto* area = modal->findChild<QScrollArea*>("PictureViewArea");
        auto* label = area != nullptr ? qobject_cast<QLabel*>(area->widget()) : nullptr;
        if (label == nullptr) {
            modal->close();
            return;
        }
        const QImage picture = label->pixmap().toImage();
        pictureSize = picture.size();
        atMark = picture.pixelColor(2005, 805);
        elsewhere = picture.pixelColor(100, 100);
        const QSize view = area->viewport()->size();
        middle = {area->horizontalScrollBar()->value() + view.width() / 2,
                  area->verticalScrollBar()->value() + view.height() / 2};
        QTest::keyClick(modal, Qt::Key_Escape);
        closed = !modal->isVisible();
    });
    QWidget* preview = Widget(ControlId::ImgPreview);
    const QRect previewBefore = preview->geometry();
    QTest::mouseDClick(preview, Qt::LeftButton, {}, preview->rect().center());
    Pump();

    EXPECT_EQ(pictureSize, QSize(2560, 1600)) << "one screen pixel for each picture pixel";
    EXPECT_EQ(atMark, QColor(255, 255, 255));
    EXPECT_EQ(elsewhere, QColor(100 * 200 / 2560, 100 * 200 / 1600, 60));
    EXPECT_NEAR(middle.x(), 2006, 2) << "centred on the mark";
    EXPECT_NEAR(middle.y(), 806, 2);
    EXPECT_TRUE(closed) << "Escape closes the view";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The preview itself stays as it was.
    EXPECT_EQ(preview->geometry(), previewBefore);
}

}  // namespace
}  // namespace velinor::platform::qt::test
