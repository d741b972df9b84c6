#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>
#include <QTreeWidget>

#include "GuiFixture.h"
#include "platform/qt/HostWindow.h"
#include "platform/qt/TabPanel.h"

namespace velinor::platform::qt::test {
namespace {

// The kind of widget each kind of control must become.
bool WidgetMatchesKind(QWidget* widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::Label: return qobject_cast<QLabel*>(widget) != nullptr && dynamic_cast<ImageView*>(widget) == nullptr;
        case ControlKind::TextField: return qobject_cast<QLineEdit*>(widget) != nullptr || qobject_cast<QTextEdit*>(widget) != nullptr;
        case ControlKind::Button:
        case ControlKind::Option:
        case ControlKind::Checkbox: return qobject_cast<QAbstractButton*>(widget) != nullptr;
        case ControlKind::Frame: return qobject_cast<QGroupBox*>(widget) != nullptr;
        case ControlKind::ComboBox:
        case ControlKind::FolderCombo: return qobject_cast<QComboBox*>(widget) != nullptr;
        case ControlKind::Spin: return qobject_cast<QSpinBox*>(widget) != nullptr;
        case ControlKind::TrackBar: return qobject_cast<QSlider*>(widget) != nullptr;
        case ControlKind::Image: return dynamic_cast<ImageView*>(widget) != nullptr;
        case ControlKind::Container: return qobject_cast<QFrame*>(widget) != nullptr;
        case ControlKind::TabPanel: return dynamic_cast<TabPanelWidget*>(widget) != nullptr;
        case ControlKind::ReportList:
        case ControlKind::FileList:
        case ControlKind::Tree: return qobject_cast<QTreeWidget*>(widget) != nullptr;
    }
    return false;
}

// The program's whole layout table, built straight through the backend.
TEST_F(QtPlatformTest, EveryControlOfTheMainWindowSitsAtItsTableGeometry) {
    BuildProgramLayout();

    int checked = 0;
    for (const app::LayoutRow& row : app::MainWindowLayout()) {
        if (row.parent.control == ControlId::PnlBatchMark && row.parent.tab == app::kRemovedBatchMarkTab) {
            EXPECT_FALSE(platform->ControlExists(row.id)) << static_cast<int>(row.id);
            continue;
        }
        SCOPED_TRACE("control " + std::to_string(static_cast<int>(row.id)));
        ASSERT_TRUE(platform->ControlExists(row.id));
        const Rect g = platform->ControlGeometry(row.id);
        EXPECT_EQ(g.x, row.geometry.x);
        EXPECT_EQ(g.y, row.geometry.y);
        EXPECT_EQ(g.width, row.geometry.width);
        EXPECT_EQ(g.height, row.geometry.height);
        EXPECT_TRUE(WidgetMatchesKind(platform->ControlWidget(row.id), row.kind));
        ++checked;
    }
    EXPECT_GT(checked, 100);
    EXPECT_EQ(platform->TabCount(ControlId::PnlTabs), 4);
    EXPECT_EQ(platform->TabCount(ControlId::PnlBatchMark), 2);
    EXPECT_TRUE(Drain().empty());   // building raises nothing
}

}  // namespace
}  // namespace velinor::platform::qt::test
