#pragma once

namespace velinor::marks {

// The seven places a text mark or a logo can sit, in the order of their option controls.
enum class Anchor { Centre, TopCentre, BottomCentre, TopLeft, TopRight, BottomLeft, BottomRight };

constexpr int kAnchorCount = 7;

// The anchor of option index 0..6 of an anchor group; anything else is the centre.
constexpr Anchor AnchorFromIndex(int index) {
    return index >= 0 && index < kAnchorCount ? static_cast<Anchor>(index) : Anchor::Centre;
}

struct Placement {
    int x = 0;
    int y = 0;
};

// Top-left corner of a width x height mark on a pictureWidth x pictureHeight picture. Each
// halving truncates and is taken per term (W/2 - w/2, not (W - w)/2), so a 10-wide mark on a
// 101-wide picture sits at 45 and an 11-wide one on a 100-wide picture at 45 as well. A mark
// larger than the picture gets a negative corner and is cut off by the drawing.
constexpr Placement AnchorPlacement(Anchor anchor, int pictureWidth, int pictureHeight, int width, int height) {
    const int centreX = pictureWidth / 2 - width / 2;
    const int centreY = pictureHeight / 2 - height / 2;
    const int right = pictureWidth - width;
    const int bottom = pictureHeight - height;
    switch (anchor) {
        case Anchor::Centre: return {centreX, centreY};
        case Anchor::TopCentre: return {centreX, 0};
        case Anchor::BottomCentre: return {centreX, bottom};
        case Anchor::TopLeft: return {0, 0};
        case Anchor::TopRight: return {right, 0};
        case Anchor::BottomLeft: return {0, bottom};
        case Anchor::BottomRight: return {right, bottom};
    }
    return {centreX, centreY};
}

}  // namespace velinor::marks
