#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "GuiFixture.h"
#include "app/Handlers.h"
#include "app/ProgramState.h"

namespace velinor::platform::qt::test {
namespace {

// A photo (a ladybird on a grass stalk, from Debian's mate-backgrounds, scaled to 640 x 400).
const std::string kPhoto = std::string(VELINOR_SOURCE_DIR) + "/tests/gui/files/ladybird.jpg";

class MarkTextTest : public QtPlatformTest {
protected:
    QImage Preview() {
        Settle();
        return platform->ControlWidget(ControlId::ImgPreview)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(MarkTextTest, TextMarkOnAPhotoChangesThePreview) {
    BuildProgramLayout();
    app::ProgramState state(*platform, {});
    state.shell.CurrentFile = kPhoto;
    state.shell.PictureLoaded = true;
    platform->SetState(ControlId::OptModeText, 1);
    platform->SetState(ControlId::OptTextPos1, 1);

    // A blank text publishes the photo as it is.
    platform->SetText(ControlId::TxtMark, " ");
    app::handlers::ApplyTextMark(state, ControlId::BtnApplyText);
    const QImage plain = Preview();
    ASSERT_EQ(plain.size(), QSize(192, 120));  // 640 x 400 (aspect 1.6) fitted to 120 pixels high

    state.marks.MarkFontSpec.face = "DejaVu Sans";
    state.marks.MarkFontSpec.pointSize = 36;
    state.marks.MarkFontSpec.colour = render::MakeColor(255, 0, 0);
    state.marks.MarkFontSpec.style = 256;
    platform->SetText(ControlId::TxtMark, "Velinor");
    app::handlers::ApplyTextMark(state, ControlId::BtnApplyText);
    const QImage marked = Preview();
    ASSERT_EQ(marked.size(), plain.size());

    int changed = 0, red = 0;
    for (int y = 0; y < marked.height(); ++y) {
        for (int x = 0; x < marked.width(); ++x) {
            const QRgb after = marked.pixel(x, y);
            if (after != plain.pixel(x, y)) ++changed;
            if (qRed(after) > 200 && qGreen(after) < 80 && qBlue(after) < 80) ++red;
        }
    }
    EXPECT_GT(changed, 300);
    EXPECT_GT(red, 100);
    // The mark sits in the middle: the preview's corners stay the photo.
    EXPECT_EQ(marked.pixel(2, 2), plain.pixel(2, 2));
    EXPECT_EQ(marked.pixel(189, 117), plain.pixel(189, 117));
}

}  // namespace
}  // namespace velinor::platform::qt::test
