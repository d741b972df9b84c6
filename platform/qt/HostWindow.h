#pragma once

#include <functional>
#include <vector>

#include <QFrame>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QWidget>

namespace velinor::platform::qt {

// A top-level window whose whole inside is the client area the program lays controls on.
// Closing and dropping are reported to the platform, which decides what happens: the window
// never closes itself.
class HostWindow : public QWidget {
public:
    explicit HostWindow(int number);

    int Number() const { return number_; }
    std::function<void()> onCloseRequest;
    std::function<void(const QStringList&)> onDrop;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int number_;
};

// A status bar of fixed-width fields, each a sunken panel with an optional picture before its
// text.
class StatusBarWidget : public QFrame {
public:
    StatusBarWidget(QWidget* parent, const std::vector<int>& fieldWidths);

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    void SetText(int field, const QString& text);
    QString Text(int field) const;
    void SetPicture(int field, const QPixmap& picture);

private:
    struct Field {
        QLabel* picture;
        QLabel* text;
    };
    std::vector<Field> fields_;
};

// Shows a picture at its natural size; a left click is reported (the colour picker and the
// preview pictures react to clicks).
// Options and checkboxes that answer a click anywhere in the rectangle the program gave them,
// as the program's layout expects: Qt counts only the mark and the caption, so a click to the
// right of a short caption ("Text" in a 100-pixel option) did nothing.
template <typename Button>
class WholeAreaButton : public Button {
public:
    using Button::Button;

protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};
using OptionButton = WholeAreaButton<QRadioButton>;
using CheckboxButton = WholeAreaButton<QCheckBox>;

class ImageView : public QLabel {
public:
    explicit ImageView(QWidget* parent);
    std::function<void()> onClick;
    std::function<void()> onDoubleClick;   // the second press of a double click; else a click

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace velinor::platform::qt
