// The full-size view of a picture: a modal window with the picture at 100 % in a scroll area,
// opened on the point the program asks for and closed with Escape.
#include <algorithm>

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/ImageConvert.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/WidgetHelpers.h"

namespace velinor::platform::qt {

namespace {

// The window takes the picture's size up to most of the screen; beyond that it scrolls.
QSize PictureViewSize(const QSize& picture, const QWidget* owner) {
    const QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen != nullptr ? screen->availableGeometry().size() * 9 / 10 : QSize(1024, 768);
    // The scroll bars and the frame take a few pixels of their own.
    const QSize wanted = picture + QSize(4, 4);
    return {std::clamp(wanted.width(), 200, std::max(200, room.width())),
            std::clamp(wanted.height(), 150, std::max(150, room.height()))};
}

void ScrollToCentre(QScrollArea& area, Point centre) {
    const QSize view = area.viewport()->size();
    area.horizontalScrollBar()->setValue(centre.x - view.width() / 2);
    area.verticalScrollBar()->setValue(centre.y - view.height() / 2);
}

}  // namespace

void QtPlatform::PictureView(const std::string& title, const render::RasterImage& image, Point centre) {
    const QImage picture = ToQImage(image);
    if (picture.isNull()) return;
    QDialog dialog(Owner());
    dialog.setObjectName("PictureView");
    dialog.setWindowTitle(Q(title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* area = new QScrollArea(&dialog);
    area->setObjectName("PictureViewArea");
    area->setAlignment(Qt::AlignCenter);
    auto* label = new QLabel(area);
    label->setPixmap(QPixmap::fromImage(picture));
    label->resize(picture.size());
    area->setWidget(label);
    layout->addWidget(area);
    dialog.resize(PictureViewSize(picture.size(), Owner()));
    // The scroll ranges are known once the window is laid out, which exec does first.
    QTimer::singleShot(0, area, [area, centre] { ScrollToCentre(*area, centre); });
    // QDialog closes on Escape by itself.
    dialog.exec();
}

}  // namespace velinor::platform::qt
