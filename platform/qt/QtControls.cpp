// Creation of controls and the operations every kind of control shares.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "platform/qt/FileBrowser.h"
#include "platform/qt/FilePattern.h"
#include "platform/qt/HostWindow.h"
#include "platform/qt/ImageConvert.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/RequesterFolders.h"
#include "platform/qt/TabPanel.h"
#include "platform/qt/WidgetHelpers.h"

namespace velinor::platform::qt {

namespace {

constexpr const char* kIdProperty = "velinorControlId";
constexpr int kClosedComboHeight = 22;   // a combo's given height includes its drop-down list

bool IsCombo(ControlKind kind) {
    return kind == ControlKind::ComboBox || kind == ControlKind::FolderCombo;
}

void SetCheckedInGroup(QAbstractButton* button, QButtonGroup* group, bool checked) {
    // An exclusive group refuses to uncheck its checked button; the program may do so.
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive && !checked) group->setExclusive(false);
    button->setChecked(checked);
    if (exclusive && !checked) group->setExclusive(true);
}

}  // namespace

const QtPlatform::Control* QtPlatform::Find(ControlId id) const {
    auto it = controls_.find(id);
    if (it == controls_.end() || it->second.widget.isNull()) return nullptr;
    return &it->second;
}

QWidget* QtPlatform::ControlWidget(ControlId id) const {
    const Control* control = Find(id);
    return control != nullptr ? control->widget.data() : nullptr;
}

bool QtPlatform::ControlExists(ControlId id) const {
    return Find(id) != nullptr;
}

QWidget* QtPlatform::ParentWidget(const ControlParent& parent) const {
    if (parent.control == ControlId::None) return WindowWidget(parent.window);
    const Control* control = Find(parent.control);
    if (control == nullptr) return nullptr;
    if (control->kind == ControlKind::TabPanel) {
        auto* tabs = dynamic_cast<TabPanelWidget*>(control->widget.data());
        return tabs != nullptr ? tabs->Page(parent.tab) : nullptr;
    }
    return control->content.data();
}

void QtPlatform::SetDefaultControlFont(const std::string& face, int points, bool bold) {
    QFont font(Q(face), points > 0 ? points : 8);
    font.setBold(bold);
    controlFont_ = font;
}

void QtPlatform::TrackPointer(QWidget* widget) {
    widget->setMouseTracking(true);
    for (QWidget* child : widget->findChildren<QWidget*>()) child->setMouseTracking(true);
}

bool QtPlatform::CreateControl(const ControlSpec& spec) {
    if (spec.id == ControlId::None) return false;
    QWidget* parent = ParentWidget(spec.parent);
    if (parent == nullptr) return false;
    const int window = WindowOf(parent);
    if (window < 0) return false;

    if (auto old = controls_.find(spec.id); old != controls_.end()) {
        delete old->second.widget.data();
        controls_.erase(old);
    }
    if (spec.kind != ControlKind::Option) openGroup_ = nullptr;

    Control control;
    control.kind = spec.kind;
    control.window = window;
    control.flags = spec.flags;
    control.listHeight = spec.geometry.height;
    QWidget* widget = MakeWidget(spec, parent, control);
    if (widget == nullptr) return false;
    control.widget = widget;
    if (control.content.isNull()) control.content = widget;

    widget->setProperty(kIdProperty, static_cast<int>(spec.id));
    if (controlFont_) widget->setFont(*controlFont_);
    const Rect& g = spec.geometry;
    if (spec.kind == ControlKind::Image && spec.image != nullptr && render::ValidImageSize(spec.image->width, spec.image->height)) {
        widget->setGeometry(g.x, g.y, spec.image->width, spec.image->height);
    } else if (IsCombo(spec.kind)) {
        widget->setGeometry(g.x, g.y, g.width, std::min(g.height, kClosedComboHeight));
    } else {
        widget->setGeometry(g.x, g.y, g.width, g.height);
    }
    if (spec.kind == ControlKind::Container && (spec.flags & kFlagBorder) != 0) {
        control.content->setGeometry(static_cast<QFrame*>(widget)->contentsRect());
    }
    TrackPointer(widget);
    widget->show();

    controls_[spec.id] = control;
    ConnectSignals(spec.id, controls_[spec.id]);
    return true;
}

QWidget* QtPlatform::MakeWidget(const ControlSpec& spec, QWidget* parent, Control& control) {
    switch (spec.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(((spec.flags & kFlagCentred) != 0 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
            label->setText(Q(spec.text));
            return label;
        }
        case ControlKind::TextField: {
            const bool readOnly = (spec.flags & kFlagReadOnly) != 0;
            QWidget* field = nullptr;
            if ((spec.flags & kFlagMultiLine) != 0) {
                auto* edit = new QTextEdit(parent);
                edit->setAcceptRichText(false);
                edit->setReadOnly(readOnly);
                const bool scrolls = (spec.flags & kFlagScrollBars) != 0;
                edit->setLineWrapMode(scrolls ? QTextEdit::NoWrap : QTextEdit::WidgetWidth);
                const auto policy = scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
                edit->setHorizontalScrollBarPolicy(policy);
                edit->setVerticalScrollBarPolicy(policy);
                edit->setPlainText(FromProgramLines(spec.text));
                if ((spec.flags & kFlagCentred) != 0) {
                    edit->selectAll();
                    edit->setAlignment(Qt::AlignHCenter);
                    edit->moveCursor(QTextCursor::Start);
                }
                field = edit;
            } else {
                auto* edit = new QLineEdit(parent);
                edit->setReadOnly(readOnly);
                edit->setText(Q(spec.text));
                edit->setCursorPosition(0);
                if ((spec.flags & kFlagCentred) != 0) edit->setAlignment(Qt::AlignHCenter);
                field = edit;
            }
            // Files dropped on a field are for the window, not text to insert.
            field->setAcceptDrops(false);
            if (readOnly) {
                // Read-only fields show the window colour, so the user sees they cannot type.
                QPalette palette = field->palette();
                palette.setColor(QPalette::Base, palette.color(QPalette::Window));
                field->setPalette(palette);
            }
            return field;
        }
        case ControlKind::Button: {
            auto* button = new QPushButton(Literal(spec.text), parent);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::Frame: {
            auto* frame = new QGroupBox(Literal(spec.text), parent);
            // The line runs through the middle of the caption, as the program's layout expects:
            // the controls it places below the caption then lie inside the frame. (Styles that
            // draw the caption above the line push the line down over them.)
            frame->setStyleSheet(
                "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; }"
                "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: 7px;"
                " padding: 0 2px; }");
            return frame;
        }
        case ControlKind::Option: {
            auto* option = new OptionButton(Literal(spec.text), parent);
            option->setAutoExclusive(false);
            if (openGroup_.isNull()) {
                openGroup_ = new QButtonGroup(WindowWidget(control.window));
                openGroup_->setExclusive(true);
            }
            openGroup_->addButton(option);
            control.group = openGroup_;
            return option;
        }
        case ControlKind::Checkbox:
            return new CheckboxButton(Literal(spec.text), parent);
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            for (const std::string& item : spec.items) combo->addItem(Q(item));
            combo->setCurrentIndex(-1);
            combo->setMaxVisibleItems(std::max(1, spec.geometry.height / 16));
            return combo;
        }
        case ControlKind::Spin: {
            auto* spin = new QSpinBox(parent);
            spin->setRange(spec.minimum, std::max(spec.minimum, spec.maximum));
            spin->setValue(spec.minimum);
            return spin;
        }
        case ControlKind::TrackBar: {
            auto* slider = new QSlider(Qt::Horizontal, parent);
            slider->setRange(spec.minimum, std::max(spec.minimum, spec.maximum));
            slider->setValue(spec.minimum);
            slider->setPageStep(std::max(1, (spec.maximum - spec.minimum) / 5));
            return slider;
        }
        case ControlKind::Image: {
            auto* image = new ImageView(parent);
            if (spec.image != nullptr) image->setPixmap(QPixmap::fromImage(ToQImage(*spec.image)));
            return image;
        }
        case ControlKind::Container: {
            auto* frame = new QFrame(parent);
            if ((spec.flags & kFlagBorder) != 0) {
                frame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
                // Child coordinates start inside the border, as in a client area.
                control.content = new QWidget(frame);
            }
            return frame;
        }
        case ControlKind::TabPanel: {
            auto* tabs = new TabPanelWidget(parent);
            for (const std::string& name : spec.items) tabs->AddTab(Literal(name));
            return tabs;
        }
        case ControlKind::ReportList: {
            auto* list = new QTreeWidget(parent);
            list->setColumnCount(1);
            list->setHeaderLabels({Q(spec.items.empty() ? std::string("File") : spec.items.front())});
            list->header()->setStretchLastSection(false);
            list->header()->resizeSection(0, 300);
            list->setRootIsDecorated(false);
            list->setUniformRowHeights(true);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setAllColumnsShowFocus(true);
            return list;
        }
        case ControlKind::FolderCombo: {
            auto* combo = new FolderComboWidget(parent);
            combo->SetFolder(SplitFolderText(BrowserStart(spec.text)).folder);
            combo->setMaxVisibleItems(std::max(1, spec.geometry.height / 16));
            return combo;
        }
        case ControlKind::FileList: {
            auto* list = new FileListWidget(parent);
            const FolderAndPattern where = SplitFolderText(BrowserStart(spec.text));
            list->SetFolder(where.folder, spec.pattern.empty() ? where.pattern : Q(spec.pattern));
            return list;
        }
        case ControlKind::Tree: {
            auto* tree = new QTreeWidget(parent);
            tree->setColumnCount(1);
            tree->setHeaderHidden(true);
            tree->setIconSize(QSize(16, 16));
            tree->setSelectionMode(QAbstractItemView::SingleSelection);
            return tree;
        }
    }
    return nullptr;
}

QString QtPlatform::BrowserStart(const std::string& folder) const {
    // No folder named: the user's pictures, not the working folder, which is the program's own.
    // A script keeps the working folder, so that its log is the same on every machine.
    if (folder.empty() && !scriptedInput_) return PicturesFolder();
    return Q(folder);
}

int QtPlatform::ListChangeKind(ControlKind kind) const {
    // The report list reports a new current entry like a click; the other lists as a change.
    return kind == ControlKind::ReportList ? kKindLeftClick : kKindChange;
}

void QtPlatform::ConnectSignals(ControlId id, Control& control) {
    QWidget* widget = control.widget.data();
    auto raise = [this, id](int kind) { WidgetSignal(id, kind); };
    switch (control.kind) {
        case ControlKind::Button:
        case ControlKind::Option:
        case ControlKind::Checkbox:
            connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                    [raise] { raise(kKindLeftClick); });
            break;
        case ControlKind::TextField:
            if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                connect(line, &QLineEdit::textChanged, this, [raise] { raise(kKindChange); });
            } else if (auto* text = qobject_cast<QTextEdit*>(widget)) {
                connect(text, &QTextEdit::textChanged, this, [raise] { raise(kKindChange); });
            }
            break;
        case ControlKind::ComboBox:
            connect(static_cast<QComboBox*>(widget), &QComboBox::currentIndexChanged, this,
                    [raise] { raise(kKindChange); });
            break;
        case ControlKind::FolderCombo: {
            auto* combo = static_cast<FolderComboWidget*>(widget);
            connect(combo, &QComboBox::currentIndexChanged, this, [raise, combo] {
                // Re-centre the outline on the chosen folder once the combo has settled.
                const QPointer<FolderComboWidget> guard(combo);
                const QString folder = combo->Folder();
                QTimer::singleShot(0, combo, [guard, folder] {
                    if (guard) guard->SetFolder(folder);
                });
                raise(kKindChange);
            });
            break;
        }
        case ControlKind::Spin:
            connect(static_cast<QSpinBox*>(widget), &QSpinBox::valueChanged, this, [raise] { raise(kKindChange); });
            break;
        case ControlKind::TrackBar:
            connect(static_cast<QSlider*>(widget), &QSlider::valueChanged, this, [raise] { raise(kKindChange); });
            break;
        case ControlKind::Image:
            static_cast<ImageView*>(widget)->onClick = [raise] { raise(kKindLeftClick); };
            static_cast<ImageView*>(widget)->onDoubleClick = [raise] { raise(kKindDoubleClick); };
            break;
        case ControlKind::TabPanel:
            static_cast<TabPanelWidget*>(widget)->onCurrentChanged = [raise](int) { raise(kKindChange); };
            break;
        case ControlKind::ReportList:
        case ControlKind::Tree:
        case ControlKind::FileList: {
            // Selection changes, not current-entry changes: a view that gains the focus makes
            // its first entry current by itself, which is no choice of the user.
            const int kind = ListChangeKind(control.kind);
            connect(static_cast<QTreeWidget*>(widget), &QTreeWidget::itemSelectionChanged, this,
                    [raise, kind] { raise(kind); });
            if (control.kind == ControlKind::FileList) {
                static_cast<FileListWidget*>(widget)->onFolderOpened = [raise] { raise(kKindChange); };
            }
            break;
        }
        case ControlKind::Label:
        case ControlKind::Frame:
        case ControlKind::Container:
            break;
    }
}

// ---------------------------------------------------------------------------------------------
// Text and state

void QtPlatform::SetText(ControlId id, const std::string& text) {
    const Control* control = Find(id);
    if (control == nullptr) return;
    QWidget* widget = control->widget.data();
    const ProgramChange change(*this);
    switch (control->kind) {
        case ControlKind::Label:
            static_cast<QLabel*>(widget)->setText(Q(text));
            break;
        case ControlKind::TextField:
            if (auto* line = qobject_cast<QLineEdit*>(widget)) {
                line->setText(Q(text));
                line->setCursorPosition(0);
            } else if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
                edit->setPlainText(FromProgramLines(text));
                if ((control->flags & kFlagCentred) != 0) {
                    edit->selectAll();
                    edit->setAlignment(Qt::AlignHCenter);
                }
                // Fields with scroll bars follow what was written last, like a log.
                edit->moveCursor((control->flags & kFlagScrollBars) != 0 ? QTextCursor::End : QTextCursor::Start);
                edit->ensureCursorVisible();
            }
            break;
        case ControlKind::Button:
        case ControlKind::Option:
        case ControlKind::Checkbox:
            static_cast<QAbstractButton*>(widget)->setText(Literal(text));
            break;
        case ControlKind::Frame:
            static_cast<QGroupBox*>(widget)->setTitle(Literal(text));
            break;
        case ControlKind::ComboBox: {
            auto* combo = static_cast<QComboBox*>(widget);
            const int index = combo->findText(Q(text));
            if (index >= 0) combo->setCurrentIndex(index);
            break;
        }
        case ControlKind::Spin: {
            auto* spin = static_cast<QSpinBox*>(widget);
            bool ok = false;
            const int value = Q(text).trimmed().toInt(&ok);
            if (ok) spin->setValue(value);
            break;
        }
        case ControlKind::FolderCombo:
            static_cast<FolderComboWidget*>(widget)->SetFolder(SplitFolderText(Q(text)).folder);
            break;
        case ControlKind::FileList: {
            const FolderAndPattern where = SplitFolderText(Q(text));
            static_cast<FileListWidget*>(widget)->SetFolder(where.folder, where.pattern);
            break;
        }
        case ControlKind::TabPanel: {
            auto* tabs = static_cast<TabPanelWidget*>(widget);
            tabs->SetTabText(tabs->CurrentIndex(), Literal(text));
            break;
        }
        case ControlKind::ReportList:
        case ControlKind::Tree:
            if (QTreeWidgetItem* item = static_cast<QTreeWidget*>(widget)->currentItem()) item->setText(0, Q(text));
            break;
        case ControlKind::TrackBar:
        case ControlKind::Image:
        case ControlKind::Container:
            break;
    }
}

std::string QtPlatform::GetText(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return {};
    QWidget* widget = control->widget.data();
    switch (control->kind) {
        case ControlKind::Label:
            return S(static_cast<QLabel*>(widget)->text());
        case ControlKind::TextField:
            if (auto* line = qobject_cast<QLineEdit*>(widget)) return S(line->text());
            if (auto* edit = qobject_cast<QTextEdit*>(widget)) return ToProgramLines(edit->toPlainText());
            return {};
        case ControlKind::Button:
        case ControlKind::Option:
        case ControlKind::Checkbox:
            return S(Unliteral(static_cast<QAbstractButton*>(widget)->text()));
        case ControlKind::Frame:
            return S(Unliteral(static_cast<QGroupBox*>(widget)->title()));
        case ControlKind::ComboBox:
            return S(static_cast<QComboBox*>(widget)->currentText());
        case ControlKind::Spin:
            return S(static_cast<QSpinBox*>(widget)->text());
        case ControlKind::TrackBar:
            return std::to_string(static_cast<QSlider*>(widget)->value());
        case ControlKind::FolderCombo:
            return S(static_cast<FolderComboWidget*>(widget)->Folder());
        case ControlKind::FileList:
            return S(static_cast<FileListWidget*>(widget)->Folder());
        case ControlKind::TabPanel: {
            auto* tabs = static_cast<TabPanelWidget*>(widget);
            return S(Unliteral(tabs->TabText(tabs->CurrentIndex())));
        }
        case ControlKind::ReportList:
        case ControlKind::Tree: {
            const QTreeWidgetItem* item = static_cast<QTreeWidget*>(widget)->currentItem();
            return item != nullptr ? S(item->text(0)) : std::string();
        }
        case ControlKind::Image:
        case ControlKind::Container:
            return {};
    }
    return {};
}

void QtPlatform::SetState(ControlId id, int state) {
    const Control* control = Find(id);
    if (control == nullptr) return;
    QWidget* widget = control->widget.data();
    const ProgramChange change(*this);
    switch (control->kind) {
        case ControlKind::Option:
        case ControlKind::Checkbox:
            SetCheckedInGroup(static_cast<QAbstractButton*>(widget), control->group.data(), state != 0);
            break;
        case ControlKind::Spin:
            static_cast<QSpinBox*>(widget)->setValue(state);
            break;
        case ControlKind::TrackBar:
            static_cast<QSlider*>(widget)->setValue(state);
            break;
        case ControlKind::ComboBox:
        case ControlKind::FolderCombo: {
            auto* combo = static_cast<QComboBox*>(widget);
            combo->setCurrentIndex(state >= 0 && state < combo->count() ? state : -1);
            break;
        }
        case ControlKind::TabPanel: {
            auto* tabs = static_cast<TabPanelWidget*>(widget);
            tabs->SetCurrentIndex(state);
            break;
        }
        case ControlKind::ReportList:
        case ControlKind::FileList:
        case ControlKind::Tree: {
            auto* list = static_cast<QTreeWidget*>(widget);
            QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, state) : list->topLevelItem(state);
            list->clearSelection();
            if (item != nullptr) {
                list->setCurrentItem(item);
                item->setSelected(true);
            } else {
                list->setCurrentItem(nullptr);
            }
            break;
        }
        default:
            break;
    }
}

int QtPlatform::GetState(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return 0;
    QWidget* widget = control->widget.data();
    switch (control->kind) {
        case ControlKind::Option:
        case ControlKind::Checkbox:
            return static_cast<QAbstractButton*>(widget)->isChecked() ? 1 : 0;
        case ControlKind::Spin:
            return static_cast<QSpinBox*>(widget)->value();
        case ControlKind::TrackBar:
            return static_cast<QSlider*>(widget)->value();
        case ControlKind::ComboBox:
        case ControlKind::FolderCombo:
            return static_cast<QComboBox*>(widget)->currentIndex();
        case ControlKind::TabPanel:
            return static_cast<TabPanelWidget*>(widget)->CurrentIndex();
        case ControlKind::Tree: {
            auto* tree = static_cast<QTreeWidget*>(widget);
            return TreeIndexOf(tree, tree->currentItem());
        }
        case ControlKind::ReportList:
        case ControlKind::FileList: {
            // The current entry counts while it is selected; otherwise the first selected one.
            auto* list = static_cast<QTreeWidget*>(widget);
            QTreeWidgetItem* current = list->currentItem();
            if (current != nullptr && current->isSelected()) return list->indexOfTopLevelItem(current);
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                if (list->topLevelItem(i)->isSelected()) return i;
            }
            return -1;
        }
        default:
            return 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Visibility, geometry, looks, focus

void QtPlatform::ShowControl(ControlId id, bool shown) {
    if (const Control* control = Find(id)) control->widget->setVisible(shown);
}

bool QtPlatform::ControlVisible(ControlId id) const {
    // The control's own flag: a control on a hidden tab page or in a hidden window still counts
    // as shown, the way the program set it.
    const Control* control = Find(id);
    return control != nullptr && !control->widget->isHidden();
}

void QtPlatform::EnableControl(ControlId id, bool enabled) {
    if (const Control* control = Find(id)) control->widget->setEnabled(enabled);
}

bool QtPlatform::ControlEnabled(ControlId id) const {
    const Control* control = Find(id);
    return control != nullptr && control->widget->isEnabledTo(control->widget->parentWidget());
}

void QtPlatform::ResizeControl(ControlId id, const Rect& geometry) {
    const Control* control = Find(id);
    if (control == nullptr) return;
    QWidget* widget = control->widget.data();
    if (IsCombo(control->kind)) controls_.at(id).listHeight = geometry.height;
    const int height = IsCombo(control->kind) ? std::min(geometry.height, kClosedComboHeight) : geometry.height;
    widget->setGeometry(geometry.x, geometry.y, std::max(0, geometry.width), std::max(0, height));
    if (control->content != control->widget) {
        control->content->setGeometry(static_cast<QFrame*>(widget)->contentsRect());
    }
}

Rect QtPlatform::ControlGeometry(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return {};
    const QRect g = control->widget->geometry();
    return {g.x(), g.y(), g.width(), IsCombo(control->kind) ? control->listHeight : g.height()};
}

Rect QtPlatform::ControlScreenRect(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return {};
    const QPoint topLeft = control->widget->mapToGlobal(QPoint(0, 0));
    return {topLeft.x(), topLeft.y(), control->widget->width(), control->widget->height()};
}

void QtPlatform::SetControlImage(ControlId id, const render::RasterImage* image) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::Image) return;
    auto* view = static_cast<ImageView*>(control->widget.data());
    const QImage converted = image != nullptr ? ToQImage(*image) : QImage();
    if (converted.isNull()) {
        view->clear();
        return;
    }
    view->setPixmap(QPixmap::fromImage(converted));
    view->resize(converted.size());   // an image control takes the size of its picture
}

void QtPlatform::SetButtonColour(ControlId id, render::Color face, render::Color text) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::Button) return;
    const QColor faceColour = ToQColor(face);
    control->widget->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid %3; border-radius: 2px; }"
                       "QPushButton:hover { border-color: #3c7fb1; }"
                       "QPushButton:pressed { background-color: %4; }"
                       "QPushButton:disabled { color: #8a8a8a; }")
            .arg(faceColour.name(), ToQColor(text).name(), faceColour.darker(160).name(), faceColour.darker(115).name()));
}

void QtPlatform::SetFocus(ControlId id) {
    if (const Control* control = Find(id)) control->widget->setFocus(Qt::OtherFocusReason);
}

ControlId QtPlatform::FocusedControl() const {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || WindowOf(focus) < 0) {
        // Without an active window (offscreen, or another program in front), the main window's
        // focus child is what has the focus inside it.
        const QWidget* main = WindowWidget(0);
        focus = main != nullptr ? main->focusWidget() : nullptr;
    }
    for (QWidget* widget = focus; widget != nullptr; widget = widget->parentWidget()) {
        const QVariant value = widget->property(kIdProperty);
        if (value.isValid()) {
            const auto id = static_cast<ControlId>(value.toInt());
            if (Find(id) != nullptr) return id;
        }
    }
    return ControlId::None;
}

}  // namespace velinor::platform::qt
