#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QSysInfo>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include "platform/qt/HostWindow.h"
#include "platform/qt/ImageConvert.h"

namespace velinor::platform::qt {

namespace {

std::optional<Key> KeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Control: return Key::Control;
        case Qt::Key_A: return Key::A;
        default: return std::nullopt;
    }
}

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::ShortcutOverride:
            return true;
        default:
            return false;
    }
}

}  // namespace

QtPlatform::QtPlatform() {
    qApp->installEventFilter(this);
}

QtPlatform::~QtPlatform() {
    qApp->removeEventFilter(this);
    controls_.clear();
    windows_.clear();
}

// ---------------------------------------------------------------------------------------------
// Events

void QtPlatform::Push(Event event) {
    queue_.push_back(std::move(event));
}

void QtPlatform::WidgetSignal(ControlId id, int kind) {
    if (!TakesWindowSystemInput()) return;
    PushControlEvent(id, kind);
    // A window system follows every click with events of its own (painting, pointer
    // messages), and the program re-applies its mode panels on those. Qt sends none that reach
    // the program, so the chosen panel would wait for the next pointer movement: one repaint
    // event stands in for them.
    Event repaint;
    repaint.code = kEventRepaint;
    repaint.window = queue_.back().window;
    Push(std::move(repaint));
}

void QtPlatform::PushControlEvent(ControlId id, int kind) {
    const Control* control = Find(id);
    Event event;
    event.code = kEventControl;
    event.window = control != nullptr ? control->window : 0;
    event.control = id;
    event.kind = kind;
    Push(std::move(event));
}

void QtPlatform::PushPointerMove(int window) {
    // Pointer movement arrives in floods; the program only needs to know it happened.
    for (const Event& queued : queue_) {
        if (queued.code == kEventPointerMove) return;
    }
    Event event;
    event.code = kEventPointerMove;
    event.window = window;
    Push(std::move(event));
}

Event QtPlatform::WaitEvent() {
    while (queue_.empty()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    Event event = std::move(queue_.front());
    queue_.pop_front();
    return event;
}

Event QtPlatform::PollEvent() {
    if (queue_.empty()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (queue_.empty()) return {};
    Event event = std::move(queue_.front());
    queue_.pop_front();
    return event;
}

int QtPlatform::WindowOf(const QObject* object) const {
    const auto* widget = qobject_cast<const QWidget*>(object);
    if (widget == nullptr) return -1;
    const QWidget* top = widget->window();
    for (const auto& [number, window] : windows_) {
        if (window.widget.get() == top) return number;
    }
    return -1;
}

bool QtPlatform::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool interesting = IsInputEvent(type) || type == QEvent::MouseMove || type == QEvent::Enter ||
                             type == QEvent::HoverMove;
    if (!interesting || scriptedInput_) return false;

    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        const int window = WindowOf(watched);
        if (window < 0) return false;
        const Window* host = FindWindow(window);
        if (host != nullptr && !host->inputEnabled) return true;
        // A key event the focus widget ignores travels on to its parent: count it once, at the
        // first widget that receives it.
        auto* widget = static_cast<QWidget*>(watched);
        const bool passedUp = event == lastKeyEvent_ && !lastKeyReceiver_.isNull() &&
                              lastKeyReceiver_->parentWidget() == widget;
        lastKeyEvent_ = event;
        lastKeyReceiver_ = widget;
        if (passedUp) return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (const auto which = KeyOf(key->key())) {
            if (type == QEvent::KeyPress) keysDown_.insert(*which);
            else if (!key->isAutoRepeat()) keysDown_.erase(*which);
        }
        if (type == QEvent::KeyPress) {
            userKeysDown_.clear();
            Event out;
            out.code = kEventKey;
            out.window = window;
            Push(std::move(out));
        }
        return false;
    }

    const int window = WindowOf(watched);
    if (window < 0) return false;
    const Window* host = FindWindow(window);
    if (host != nullptr && !host->inputEnabled) {
        // A disabled window looks unchanged but takes no input, like a window under a modal one.
        return IsInputEvent(type);
    }
    switch (type) {
        case QEvent::MouseMove:
            pointerOverride_.reset();
            PushPointerMove(window);
            break;
        case QEvent::Enter:
        case QEvent::HoverMove:
            PushPointerMove(window);
            break;
        default:
            break;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Windows

QtPlatform::Window* QtPlatform::FindWindow(int window) {
    auto it = windows_.find(window);
    return it == windows_.end() || !it->second.widget ? nullptr : &it->second;
}

const QtPlatform::Window* QtPlatform::FindWindow(int window) const {
    auto it = windows_.find(window);
    return it == windows_.end() || !it->second.widget ? nullptr : &it->second;
}

QWidget* QtPlatform::WindowWidget(int window) const {
    const Window* found = FindWindow(window);
    return found != nullptr ? found->widget.get() : nullptr;
}

QWidget* QtPlatform::Owner() const {
    if (QWidget* main = WindowWidget(0)) return main;
    return nullptr;
}

bool QtPlatform::OpenWindow(const WindowSpec& spec) {
    if (spec.clientWidth <= 0 || spec.clientHeight <= 0) return false;
    if (FindWindow(spec.number) != nullptr) CloseWindow(spec.number);

    auto widget = std::make_unique<HostWindow>(spec.number);
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (!spec.captionOnly) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (spec.minimiseButton) flags |= Qt::WindowMinimizeButtonHint;
    widget->setWindowFlags(flags);
    widget->setWindowTitle(QString::fromStdString(spec.title));
    widget->setFixedSize(spec.clientWidth, spec.clientHeight);
    widget->setMouseTracking(true);
    if (controlFont_) widget->setFont(*controlFont_);

    const int number = spec.number;
    widget->onCloseRequest = [this, number] {
        if (!WindowEnabled(number) || scriptedInput_) return;
        Event event;
        event.code = kEventClose;
        event.window = number;
        Push(std::move(event));
    };
    widget->onDrop = [this](const QStringList& files) {
        if (scriptedInput_) return;
        Event event;
        event.code = kEventDrop;
        for (const QString& file : files) event.droppedFiles.push_back(file.toStdString());
        Push(std::move(event));
    };

    QWidget* owner = spec.owner >= 0 ? WindowWidget(spec.owner) : nullptr;
    if (owner != nullptr) {
        // An owned window stays above its owner; it is not a child widget, so disabling the
        // owner leaves it usable.
        widget->winId();
        if (widget->windowHandle() != nullptr && owner->windowHandle() != nullptr) {
            widget->windowHandle()->setTransientParent(owner->windowHandle());
        }
    }
    if (spec.centred) {
        QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen != nullptr) {
            const QRect area = screen->availableGeometry();
            widget->move(area.center().x() - spec.clientWidth / 2, area.center().y() - spec.clientHeight / 2);
        }
    } else {
        widget->move(spec.x, spec.y);
    }

    Window& window = windows_[number];
    window = Window{};
    window.widget = std::move(widget);
    if (!spec.hidden) window.widget->show();
    return true;
}

void QtPlatform::CloseWindow(int window) {
    auto it = windows_.find(window);
    if (it == windows_.end()) return;
    for (auto control = controls_.begin(); control != controls_.end();) {
        control = control->second.window == window ? controls_.erase(control) : std::next(control);
    }
    windows_.erase(it);
}

bool QtPlatform::WindowExists(int window) const {
    return FindWindow(window) != nullptr;
}

void QtPlatform::ShowWindow(int window, bool shown) {
    if (QWidget* widget = WindowWidget(window)) widget->setVisible(shown);
}

void QtPlatform::EnableWindow(int window, bool enabled) {
    if (Window* found = FindWindow(window)) found->inputEnabled = enabled;
}

bool QtPlatform::WindowEnabled(int window) const {
    const Window* found = FindWindow(window);
    return found != nullptr && found->inputEnabled;
}

void QtPlatform::SetWindowOpacity(int window, int opacity) {
    if (QWidget* widget = WindowWidget(window)) {
        widget->setWindowOpacity(std::clamp(opacity, 0, 255) / 255.0);
    }
}

Point QtPlatform::WindowPosition(int window) const {
    const QWidget* widget = WindowWidget(window);
    if (widget == nullptr) return {};
    const QPoint topLeft = widget->frameGeometry().topLeft();
    return {topLeft.x(), topLeft.y()};
}

void QtPlatform::AcceptDrops(int window, bool accept) {
    if (QWidget* widget = WindowWidget(window)) widget->setAcceptDrops(accept);
}

// ---------------------------------------------------------------------------------------------
// Pointer, keys, system

Point QtPlatform::PointerPosition() const {
    if (pointerOverride_) return *pointerOverride_;
    const QPoint pos = QCursor::pos();
    return {pos.x(), pos.y()};
}

void QtPlatform::SetPointerPosition(Point screen) {
    QCursor::setPos(screen.x, screen.y);
    // Window systems that do not let a program move the pointer still see it there.
    pointerOverride_ = screen;
}

void QtPlatform::SetPointerShape(PointerShape shape) {
    const bool picker = shape == PointerShape::Picker;
    if (picker && !pipette_) pipette_ = PipetteCursor();   // drawn once; the loop asks on every event
    for (auto& [number, window] : windows_) {
        if (!window.widget) continue;
        if (picker && window.inputEnabled) window.widget->setCursor(*pipette_);
        else window.widget->unsetCursor();
    }
}

bool QtPlatform::KeyDown(Key key) const {
    if (userKeysDown_.count(key) != 0) return true;
    if (key == Key::Control && (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier)) return true;
    return keysDown_.count(key) != 0;
}

OsVersion QtPlatform::GetOsVersion() const {
    if (osVersion_) return *osVersion_;
    // The kernel's version; the program only singles out a few old versions of another system.
    const QStringList parts = QSysInfo::kernelVersion().split('.');
    OsVersion version;
    if (!parts.isEmpty()) version.major = parts[0].toInt();
    if (parts.size() > 1) version.minor = parts[1].toInt();
    return version;
}

int QtPlatform::DisplayDpi() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY() + 0.5) : 96;
}

void QtPlatform::OpenUrl(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

std::string QtPlatform::ProgramDirectory() const {
    if (!programDirectory_.empty()) {
        return programDirectory_.back() == '/' ? programDirectory_ : programDirectory_ + '/';
    }
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith('/')) dir += '/';
    return dir.toStdString();
}

int QtPlatform::ScreenPixel(Point screen) const {
    const QPoint point(screen.x, screen.y);
    // Our own windows are read from their widgets: that works where the window system keeps
    // the screen to itself (Wayland, offscreen) and is exact where it does not.
    const HostWindow* top = nullptr;
    for (const auto& [number, window] : windows_) {
        const HostWindow* widget = window.widget.get();
        if (widget == nullptr || !widget->isVisible()) continue;
        if (!QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()).contains(point)) continue;
        if (top == nullptr || widget->isActiveWindow() || number != 0) top = widget;
    }
    if (top != nullptr) {
        const QPoint local = top->mapFromGlobal(point);
        const QImage pixel = const_cast<HostWindow*>(top)->grab(QRect(local, QSize(1, 1))).toImage();
        if (!pixel.isNull()) return static_cast<int>(FromQColor(pixel.pixelColor(0, 0)));
    }
    QScreen* display = QGuiApplication::screenAt(point);
    if (display == nullptr) return -1;
    const QPoint local = point - display->geometry().topLeft();
    const QImage grab = display->grabWindow(0, local.x(), local.y(), 1, 1).toImage();
    if (grab.isNull() || grab.width() < 1 || grab.height() < 1) return -1;
    return static_cast<int>(FromQColor(grab.pixelColor(0, 0)));
}

bool QtPlatform::HasPendingEvent() const {
    return !queue_.empty();
}

}  // namespace velinor::platform::qt
