#include "platform/qt/FontRequester.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/qt/ImageConvert.h"

namespace velinor::platform::qt {

namespace {

class FontDialog : public QDialog {
public:
    FontDialog(QWidget* owner, const FontRequest& request) : QDialog(owner) {
        setWindowTitle(QStringLiteral("Font"));
        face_ = new QFontComboBox(this);
        face_->setFontFilters(QFontComboBox::ScalableFonts);
        if (!request.face.empty()) face_->setCurrentFont(QFont(QString::fromStdString(request.face)));
        size_ = new QSpinBox(this);
        size_->setRange(1, 1638);
        size_->setValue(request.pointSize > 0 ? request.pointSize : 10);
        bold_ = new QCheckBox(QStringLiteral("Bold"), this);
        italic_ = new QCheckBox(QStringLiteral("Italic"), this);
        underline_ = new QCheckBox(QStringLiteral("Underline"), this);
        strikeOut_ = new QCheckBox(QStringLiteral("Strike-out"), this);
        colour_ = request.colour >= 0 ? ToQColor(static_cast<render::Color>(request.colour)) : QColor(Qt::black);
        colourButton_ = new QPushButton(this);
        colourButton_->setFixedSize(40, 20);
        preview_ = new QLabel(QStringLiteral("AaBbYyZz 123"), this);
        preview_->setMinimumSize(260, 60);
        preview_->setAlignment(Qt::AlignCenter);
        preview_->setFrameStyle(QFrame::Panel | QFrame::Sunken);

        auto* styles = new QHBoxLayout;
        for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_}) styles->addWidget(box);
        auto* form = new QFormLayout;
        form->addRow(QStringLiteral("Face"), face_);
        form->addRow(QStringLiteral("Size"), size_);
        form->addRow(QStringLiteral("Style"), styles);
        form->addRow(QStringLiteral("Colour"), colourButton_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(form);
        layout->addWidget(preview_);
        layout->addWidget(buttons);

        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(colourButton_, &QPushButton::clicked, this, [this] {
            const QColor chosen = QColorDialog::getColor(colour_, this);
            if (chosen.isValid()) colour_ = chosen;
            Refresh();
        });
        connect(face_, &QFontComboBox::currentFontChanged, this, [this] { Refresh(); });
        connect(size_, &QSpinBox::valueChanged, this, [this] { Refresh(); });
        for (QCheckBox* box : {bold_, italic_, underline_, strikeOut_}) {
            connect(box, &QCheckBox::toggled, this, [this] { Refresh(); });
        }
        Refresh();
    }

    FontAnswer Answer() const {
        FontAnswer answer;
        answer.face = face_->currentFont().family().toStdString();
        answer.sizeTenths = size_->value() * 10;
        answer.colour = FromQColor(colour_);
        answer.bold = bold_->isChecked();
        answer.italic = italic_->isChecked();
        answer.underline = underline_->isChecked();
        answer.strikeOut = strikeOut_->isChecked();
        return answer;
    }

private:
    void Refresh() {
        colourButton_->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid black;").arg(colour_.name()));
        QFont font = face_->currentFont();
        font.setPointSize(std::min(size_->value(), 48));
        font.setBold(bold_->isChecked());
        font.setItalic(italic_->isChecked());
        font.setUnderline(underline_->isChecked());
        font.setStrikeOut(strikeOut_->isChecked());
        preview_->setFont(font);
        QPalette palette = preview_->palette();
        palette.setColor(QPalette::WindowText, colour_);
        preview_->setPalette(palette);
    }

    QFontComboBox* face_;
    QSpinBox* size_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underline_;
    QCheckBox* strikeOut_;
    QPushButton* colourButton_;
    QLabel* preview_;
    QColor colour_;
};

}  // namespace

std::optional<FontAnswer> RunFontRequester(QWidget* owner, const FontRequest& request) {
    FontDialog dialog(owner, request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Answer();
}

}  // namespace velinor::platform::qt
