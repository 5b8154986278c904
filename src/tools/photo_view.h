// The photo editor's view: which part of the photo is shown where, how dragging moves
// and zooms it, and which rectangle a cut takes. No Windows here; all sizes and points are
// pixels, the scale is a whole number of hundredths (100 = one screen pixel per photo
// pixel), so the same photo and scale always give the same rows and columns.
#pragma once

inline constexpr int kViewWidth = 720;   // the view: the top-left part of the client area
inline constexpr int kViewHeight = 460;
inline constexpr int kMinScale = 10;     // 0.10
inline constexpr int kMaxScale = 1000;   // 10.00
inline constexpr int kScaleStep = 5;     // hundredths per 10 pixels of drag
inline constexpr int kStartScale = 100;

// A rectangle of pixels: left, top, width, height.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// How the photo lands in the view: the source rectangle of the photo stretched over the
// destination rectangle at the view's top-left corner. Empty for no photo.
struct ViewLayout {
    PixelRect source;
    PixelRect destination;
};

// The layout of a photo of photo_width x photo_height (0 x 0: none) at scale (hundredths,
// kMinScale..kMaxScale) with the offset (the photo pixel wanted at the view's top-left).
// The destination is the scaled photo cut to the view; the source is what of the photo
// fills it, moved back inside the photo where the offset would run past its edge.
ViewLayout LayoutView(int photo_width, int photo_height, int scale, int offset_x, int offset_y);

// The scale that fits the whole photo into the view, in whole hundredths rounded down and
// limited to kMinScale..kMaxScale; kStartScale for no photo.
int FitScale(int photo_width, int photo_height);

// One axis of a move drag: the offset at the press less the drag (screen pixels move the
// photo by one photo pixel each), kept so that the view does not run past the photo's far
// edge; 0 when the photo is shorter than the view on that axis at this scale.
int PannedOffset(int offset_at_press, int drag, int photo_size, int view_size, int scale);

// A zoom drag: the larger of the two moves (dy on a tie) in whole tens of pixels, each
// ten adding kScaleStep (right or down) or taking it away (left or up), limited to
// kMinScale..kMaxScale. A drag under ten pixels keeps the scale at the press.
int ZoomedScale(int scale_at_press, int dx, int dy);

// A point of the mouse, possibly outside the window while it is captured, moved to the
// nearest point of the view (0..kViewWidth, 0..kViewHeight).
void ClampToView(int& x, int& y);

// What a cut takes: a rectangle of the view, nothing (a side below 1, also a size typed
// as a non-number, or a click without a drag), or a fixed size larger than the view.
enum class CutStatus { Ok, Empty, LargerThanView };

struct ViewCut {
    CutStatus status = CutStatus::Empty;
    PixelRect rect;  // within the view when Ok; empty otherwise
    friend bool operator==(const ViewCut&, const ViewCut&) = default;
};

// The fixed cut: width x height with its top-left corner at the (clamped) point, moved
// left and up just as far as it takes to lie wholly inside the view, so its size is kept.
// Empty when a side is below 1; LargerThanView when a side exceeds the view's.
ViewCut FixedCut(int x, int y, int width, int height);

// The dragged cut: the rectangle between the press point and the current point (both
// clamped to the view). Empty for a click without a drag, or a drag along one line.
ViewCut DraggedCut(int press_x, int press_y, int x, int y);
