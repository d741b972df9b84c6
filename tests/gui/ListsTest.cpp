#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "platform/qt/FileBrowser.h"

namespace velinor::platform::qt::test {
namespace {

render::RasterImage Tile(int side) {
    render::RasterImage image;
    image.width = side;
    image.height = side;
    image.pixels.assign(static_cast<std::size_t>(side) * side, render::MakeColor(200, 100, 0));
    return image;
}

class ListsTest : public QtPlatformTest {
protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        OpenMain();
        ASSERT_TRUE(folder.isValid());
        QDir dir(folder.path());
        ASSERT_TRUE(dir.mkdir("sub"));
        for (const char* name : {"b.jpg", "A.JPG", "c.png", "notes.txt", "d.Jpeg"}) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        root = folder.path() + "/";
    }

    void CreateExplorer() {
        auto list = Spec(ControlId::LstExplorer, ControlKind::FileList, InWindow(), {300, 40, 300, 155}, root.toStdString());
        list.pattern = "*.jpg;*.Jpeg;*.bmp;*.png";
        ASSERT_TRUE(platform->CreateControl(list));
        ASSERT_TRUE(platform->CreateControl(Spec(ControlId::CmbExplorer, ControlKind::FolderCombo, InWindow(), {330, 10, 180, 220}, root.toStdString())));
    }

    std::vector<std::string> Entries(ControlId id) {
        std::vector<std::string> names;
        for (int i = 0; i < platform->ItemCount(id); ++i) names.push_back(platform->ItemText(id, i));
        return names;
    }

    QTemporaryDir folder;
    QString root;
};

TEST_F(ListsTest, TreeEntriesAreNumberedParentsFirstAndCarrySmallIcons) {
    ASSERT_TRUE(platform->CreateControl(Spec(ControlId::TreeTextures, ControlKind::Tree, InWindow(), {0, 25, 155, 110})));
    const render::RasterImage tile = Tile(64);
    EXPECT_EQ(platform->AddTreeItem(ControlId::TreeTextures, -1, "Holz16x16", nullptr), 0);
    EXPECT_EQ(platform->AddTreeItem(ControlId::TreeTextures, 0, "eiche.jpg", &tile), 1);
    EXPECT_EQ(platform->AddTreeItem(ControlId::TreeTextures, -1, "Wasser", nullptr), 2);
    EXPECT_EQ(platform->AddTreeItem(ControlId::TreeTextures, 2, "welle.bmp", &tile), 3);
    // A late child of the first category shifts the later entries.
    EXPECT_EQ(platform->AddTreeItem(ControlId::TreeTextures, 0, "buche.jpg", nullptr), 2);
    EXPECT_EQ(platform->AddTreeItem(ControlId::TreeTextures, 7, "lost.jpg", nullptr), -1);

    EXPECT_EQ(Entries(ControlId::TreeTextures),
              (std::vector<std::string>{"Holz16x16", "eiche.jpg", "buche.jpg", "Wasser", "welle.bmp"}));
    EXPECT_EQ(platform->TreeItemParent(ControlId::TreeTextures, 4), 3);
    EXPECT_EQ(platform->TreeItemParent(ControlId::TreeTextures, 3), -1);

    auto* tree = qobject_cast<QTreeWidget*>(platform->ControlWidget(ControlId::TreeTextures));
    const QIcon icon = tree->topLevelItem(0)->child(0)->icon(0);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().front(), QSize(16, 16));
    EXPECT_EQ(tree->iconSize(), QSize(16, 16));

    EXPECT_EQ(platform->GetState(ControlId::TreeTextures), -1);
    platform->UserSet(ControlId::TreeTextures, 3);
    const std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, kKindChange);
    EXPECT_EQ(platform->GetState(ControlId::TreeTextures), 3);
    EXPECT_EQ(platform->GetText(ControlId::TreeTextures), "Wasser");
}

TEST_F(ListsTest, FileListShowsFoldersThenMatchingFilesWhateverTheirCase) {
    CreateExplorer();
    EXPECT_EQ(Entries(ControlId::LstExplorer),
              (std::vector<std::string>{"sub", "A.JPG", "b.jpg", "c.png", "d.Jpeg"}));
    EXPECT_EQ(platform->GetText(ControlId::LstExplorer), root.toStdString());
    EXPECT_EQ(platform->ItemState(ControlId::LstExplorer, 0), kItemFolder);
    EXPECT_EQ(platform->ItemState(ControlId::LstExplorer, 3), kItemFile);
    EXPECT_EQ(platform->GetText(ControlId::CmbExplorer), root.toStdString());

    // A folder text followed by a pattern changes both.
    platform->SetText(ControlId::LstExplorer, (root + "*.png").toStdString());
    EXPECT_EQ(Entries(ControlId::LstExplorer), (std::vector<std::string>{"sub", "c.png"}));
    EXPECT_TRUE(Drain().empty());
}

TEST_F(ListsTest, FileListSelectionIsMarkedInItemStates) {
    CreateExplorer();
    platform->SelectAllItems(ControlId::LstExplorer);
    EXPECT_TRUE(Drain().empty());
    for (int i = 0; i < platform->ItemCount(ControlId::LstExplorer); ++i) {
        EXPECT_NE(platform->ItemState(ControlId::LstExplorer, i) & kItemSelected, 0) << i;
    }
    platform->UserSelect(ControlId::LstExplorer, {2, 4}, false);
    const std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].control, ControlId::LstExplorer);
    EXPECT_EQ(events[0].kind, kKindLeftClick);
    EXPECT_EQ(platform->ItemState(ControlId::LstExplorer, 2), kItemFile | kItemSelected);
    EXPECT_EQ(platform->ItemState(ControlId::LstExplorer, 3), kItemFile);
    EXPECT_EQ(platform->ItemState(ControlId::LstExplorer, 4), kItemFile | kItemSelected);
    EXPECT_EQ(platform->GetState(ControlId::LstExplorer), 2);
}

TEST_F(ListsTest, OpeningAFolderEntryShowsItAndTheProgramKeepsTheComboInStep) {
    CreateExplorer();
    auto* list = dynamic_cast<FileListWidget*>(platform->ControlWidget(ControlId::LstExplorer));
    ASSERT_NE(list, nullptr);
    Settle();
    QTreeWidgetItem* sub = list->topLevelItem(0);
    const QRect where = list->visualItemRect(sub);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, where.center());
    bool changed = false;
    for (const Event& e : Drain()) changed = changed || (e.control == ControlId::LstExplorer && e.kind == kKindChange);
    EXPECT_TRUE(changed);
    const std::string inside = (root + "sub/").toStdString();
    EXPECT_EQ(platform->GetText(ControlId::LstExplorer), inside);
    EXPECT_TRUE(Entries(ControlId::LstExplorer).empty());

    // What the program does on that event: the combo follows, silently.
    platform->SetText(ControlId::CmbExplorer, platform->GetText(ControlId::LstExplorer));
    EXPECT_EQ(platform->GetText(ControlId::CmbExplorer), inside);
    EXPECT_TRUE(Drain().empty());

    // Choosing the parent folder in the combo raises its event; the list follows the program.
    auto* combo = dynamic_cast<FolderComboWidget*>(platform->ControlWidget(ControlId::CmbExplorer));
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(combo->currentIndex() - 1);
    std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].control, ControlId::CmbExplorer);
    EXPECT_EQ(platform->GetText(ControlId::CmbExplorer), root.toStdString());
    platform->SetText(ControlId::LstExplorer, platform->GetText(ControlId::CmbExplorer));
    EXPECT_EQ(platform->GetText(ControlId::LstExplorer), root.toStdString());

    // Typing a folder into the combo is the scripted way to the same place.
    platform->UserType(ControlId::CmbExplorer, inside);
    events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, kKindChange);
    EXPECT_EQ(platform->GetText(ControlId::CmbExplorer), inside);
}

// With no folder named the browser starts in the user's pictures, never in the working folder
// (the program's own); a script keeps the working folder, so that its log is alike everywhere.
TEST_F(ListsTest, FolderTextsReadBackAsGivenAndAnEmptyOneMeansThePicturesFolder) {
    const ScratchUserFolders user;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    auto list = Spec(ControlId::LstExplorer, ControlKind::FileList, InWindow(), {300, 40, 300, 155});
    list.pattern = "*.png";
    ASSERT_TRUE(platform->CreateControl(list));
    EXPECT_EQ(platform->GetText(ControlId::LstExplorer), (user.Pictures() + "/").toStdString());
    auto combo = Spec(ControlId::CmbExplorer, ControlKind::FolderCombo, InWindow(), {330, 10, 180, 220});
    ASSERT_TRUE(platform->CreateControl(combo));
    EXPECT_EQ(platform->GetText(ControlId::CmbExplorer), (user.Pictures() + "/").toStdString());
    platform->SetScriptedInput(true);
    platform->SetText(ControlId::LstExplorer, "");
    EXPECT_EQ(platform->GetText(ControlId::LstExplorer), (QDir::currentPath() + "/").toStdString())
        << "a folder set later is the program's: empty is the working folder";
    platform->SetText(ControlId::LstExplorer, "sub");
    EXPECT_EQ(platform->GetText(ControlId::LstExplorer), "sub/");
    platform->SetText(ControlId::LstExplorer, "/no/such/folder");
    EXPECT_EQ(platform->GetText(ControlId::LstExplorer), "/no/such/folder/");
    EXPECT_EQ(platform->ItemCount(ControlId::LstExplorer), 0);
    QDir::setCurrent(before);
}

TEST_F(ListsTest, ReportListEditsKeepOrderAndSelection) {
    auto list = Spec(ControlId::LstBatch, ControlKind::ReportList, InWindow(), {10, 35, 180, 350});
    list.items = {"File"};
    ASSERT_TRUE(platform->CreateControl(list));
    EXPECT_EQ(platform->GetState(ControlId::LstBatch), -1);
    for (const char* path : {"/p/1.jpg", "/p/2.jpg", "/p/3.jpg"}) platform->AddItem(ControlId::LstBatch, path);
    EXPECT_EQ(platform->AddItem(ControlId::LstBatch, "/p/0.jpg", 0), 0);
    EXPECT_EQ(Entries(ControlId::LstBatch), (std::vector<std::string>{"/p/0.jpg", "/p/1.jpg", "/p/2.jpg", "/p/3.jpg"}));
    platform->SetState(ControlId::LstBatch, 2);
    EXPECT_EQ(platform->GetText(ControlId::LstBatch), "/p/2.jpg");
    platform->RemoveItem(ControlId::LstBatch, 2);
    platform->SetState(ControlId::LstBatch, 2);
    EXPECT_EQ(platform->GetText(ControlId::LstBatch), "/p/3.jpg");
    platform->SetItemState(ControlId::LstBatch, 0, kItemSelected);
    EXPECT_EQ(platform->GetState(ControlId::LstBatch), 0);
    EXPECT_TRUE(Drain().empty());

    // A user's click on another entry is reported as a click (kind 0), not as a change.
    auto* tree = qobject_cast<QTreeWidget*>(platform->ControlWidget(ControlId::LstBatch));
    ASSERT_NE(tree, nullptr);
    Settle();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topLevelItem(1)).center());
    const std::vector<Event> clicks = Drain();
    ASSERT_FALSE(clicks.empty());
    for (const Event& e : clicks) EXPECT_EQ(e.kind, kKindLeftClick);
    platform->ClearItems(ControlId::LstBatch);
    EXPECT_EQ(platform->GetState(ControlId::LstBatch), -1);
    EXPECT_EQ(platform->ItemCount(ControlId::LstBatch), 0);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(ListsTest, KeptTextTravelsWithItsEntry) {
    auto list = Spec(ControlId::LstBatch, ControlKind::ReportList, InWindow(), {10, 35, 180, 350});
    list.items = {"Datei"};
    ASSERT_TRUE(platform->CreateControl(list));
    for (const char* name : {"a.jpg", "b.jpg"}) platform->AddItem(ControlId::LstBatch, name);
    platform->SetItemData(ControlId::LstBatch, 0, "/x/a.jpg");
    platform->SetItemData(ControlId::LstBatch, 1, "/y/b.jpg");
    platform->AddItem(ControlId::LstBatch, "new.jpg", 0);
    EXPECT_EQ(platform->ItemData(ControlId::LstBatch, 0), "");
    EXPECT_EQ(platform->ItemData(ControlId::LstBatch, 2), "/y/b.jpg");
    platform->RemoveItem(ControlId::LstBatch, 1);
    platform->SetItemText(ControlId::LstBatch, 1, "renamed.jpg");
    EXPECT_EQ(platform->ItemData(ControlId::LstBatch, 1), "/y/b.jpg");
    EXPECT_EQ(platform->ItemText(ControlId::LstBatch, 1), "renamed.jpg");
}

}  // namespace
}  // namespace velinor::platform::qt::test
