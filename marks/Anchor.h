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

// A placement moved inwards by a margin: marginX pixels away from the left or right edge at the
// anchors on that side, marginY away from the top or bottom edge; on an axis where the anchor
// is centred the mark keeps its place.
constexpr Placement Inset(Placement at, Anchor anchor, int marginX, int marginY) {
    switch (anchor) {
        case Anchor::Centre: return at;
        case Anchor::TopCentre: return {at.x, at.y + marginY};
        case Anchor::BottomCentre: return {at.x, at.y - marginY};
        case Anchor::TopLeft: return {at.x + marginX, at.y + marginY};
        case Anchor::TopRight: return {at.x - marginX, at.y + marginY};
        case Anchor::BottomLeft: return {at.x + marginX, at.y - marginY};
        case Anchor::BottomRight: return {at.x - marginX, at.y - marginY};
    }
    return at;
}

}  // namespace velinor::marks
