#include "platform/qt/HostWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace velinor::platform::qt {

namespace {

bool HasLocalFiles(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return false;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return true;
    }
    return false;
}

}  // namespace

HostWindow::HostWindow(int number) : number_(number) {
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void HostWindow::closeEvent(QCloseEvent* event) {
    // The program closes its windows itself, in answer to the close event.
    event->ignore();
    if (onCloseRequest) onCloseRequest();
}

void HostWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (HasLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void HostWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (HasLocalFiles(event->mimeData())) event->acceptProposedAction();
}

void HostWindow::dropEvent(QDropEvent* event) {
    QStringList files;
    if (event->mimeData() != nullptr) {
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile()) files << url.toLocalFile();
        }
    }
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    if (onDrop) onDrop(files);
}

StatusBarWidget::StatusBarWidget(QWidget* parent, const std::vector<int>& fieldWidths)
    : QFrame(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    for (int width : fieldWidths) {
        auto* panel = new QFrame(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setLineWidth(1);
        if (width > 0) panel->setFixedWidth(width);
        auto* inner = new QHBoxLayout(panel);
        inner->setContentsMargins(2, 0, 2, 0);
        inner->setSpacing(4);
        auto* picture = new QLabel(panel);
        picture->hide();
        auto* text = new QLabel(panel);
        text->setTextFormat(Qt::PlainText);
        inner->addWidget(picture);
        inner->addWidget(text, 1);
        layout->addWidget(panel);
        fields_.push_back({picture, text});
    }
    layout->addStretch(1);
}

void StatusBarWidget::SetText(int field, const QString& text) {
    if (field < 0 || field >= FieldCount()) return;
    fields_[field].text->setText(text);
}

QString StatusBarWidget::Text(int field) const {
    if (field < 0 || field >= FieldCount()) return {};
    return fields_[field].text->text();
}

void StatusBarWidget::SetPicture(int field, const QPixmap& picture) {
    if (field < 0 || field >= FieldCount()) return;
    fields_[field].picture->setPixmap(picture);
    fields_[field].picture->setVisible(!picture.isNull());
}

ImageView::ImageView(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && onClick) onClick();
}

void ImageView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !onDoubleClick) {
        QLabel::mouseDoubleClickEvent(event);   // a press like any other
        return;
    }
    QLabel::mousePressEvent(event);
    onDoubleClick();
}

}  // namespace velinor::platform::qt
