// The portrait composer's rules without Windows: the part records, where a chosen part is
// placed, how the edit buttons change a part and the background, paging through the
// thumbnails, the other-part slots, the rotation corners, and the pixel work on part
// pictures (white mask, recolouring, mirroring) over 24-bit rows in memory.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// Records 0..12: 0 is the back hair (no button), 1..12 the categories of buttons
// 5001..5012. Record 2 (その他) is a working copy only; its parts live in the other slots.
enum PortraitCategory : int {
    kBackHair = 0,
    kFaceOutline = 1,
    kOtherParts = 2,
    kEyes = 3,
    kEyebrows = 4,
    kNose = 5,
    kMouth = 6,
    kEars = 7,
    kUnusedCategory = 8,
    kMoustache = 9,
    kBeard = 10,
    kFrontHair = 11,
    kGlasses = 12,
};
inline constexpr int kPortraitRecords = 13;
inline constexpr int kOtherSlots = 10;
inline constexpr int kPartListCapacity = 99;   // files of one category
inline constexpr int kThumbnailsPerPage = 5;
inline constexpr int kPartPathUnits = 260;     // "kao\" + file name, terminator included
inline constexpr int kThumbnailWidth = 80;
inline constexpr int kThumbnailHeight = 100;

// How a part is drawn: not at all, once, or with its mirror image as a pair.
inline constexpr int kPartUnused = 0;
inline constexpr int kPartSingle = 1;
inline constexpr int kPartPair = 2;

struct PortraitPart {
    int used = kPartUnused;
    char16_t file[kPartPathUnits] = {};  // relative to the start folder, "kao\..."
    int x = 0, y = 0;  // top-left corner from the background's top-left corner, pixels
    int w = 0, h = 0;  // drawn size, pixels
    int angle = 0;     // -50..50 in steps of 5; the turn in radians is angle / 180
    int blue = 0, green = 0, red = 0;
    int index = 0;     // the file's position in its category's list (the thumbnail marks)
};

// The white area the portrait is composed on, in dialog client pixels. Its size is what
// 保存 captures.
struct PortraitBackground {
    int left = 40, top = 45, width = 80, height = 100;
};

// Everything the composer keeps for the run of the program.
struct PortraitComposition {
    PortraitPart records[kPortraitRecords];
    PortraitPart others[kOtherSlots];
    PortraitBackground background;
    int category = 0;     // 0: no category chosen yet
    int first_shown = 0;  // list index of the first thumbnail shown
    int current_slot = 0; // the other slot the edit buttons act on in category 2
};

// The lower-case hexadecimal digit of a category in its file names ("kao-b-001.bmp").
char16_t CategoryDigit(int category);

// Where a part of category (1, 3..12) of w x h goes when it is chosen, and whether it is
// drawn as a pair (eyes, eyebrows, ears). Divisions truncate toward zero.
struct PartPlacement {
    int x, y, used;
};
PartPlacement PlaceChosenPart(int category, int w, int h);

// The shape of an other part, told by its file name: the first character after
// "kao-2-" being 0 makes a pair, at eye height when the next one is 0 too.
enum class OtherShape { kSingle, kEyePair, kLowPair };
OtherShape OtherShapeOf(std::u16string_view file);
PartPlacement PlaceOtherPart(OtherShape shape, int w, int h);

// The back part of a hair file: the first "kao-b-" of its name turned into "kao-0-";
// empty for a name without it.
std::u16string BackHairName(std::u16string_view hair_file);

// The other slot that takes a newly chosen file: the first free one; -1 when a slot in
// use already holds the file or all are in use.
int FreeOtherSlot(const PortraitPart (&others)[kOtherSlots], std::u16string_view file);

// ≪: the next slot (after the last comes 0) when it is in use, else 0.
int NextOtherSlot(int current, const PortraitPart (&others)[kOtherSlots]);
// ≫: the slot before; from 0 the highest slot in use (0 when none is).
int PreviousOtherSlot(int current, const PortraitPart (&others)[kOtherSlots]);

// Paging through a list of count thumbnails, five to a page. <<: back one page, from the
// first page to the last page that holds entries. >>: on one page, from the last back to 0.
int PreviousPage(int first_shown, int count);
int NextPage(int first_shown, int count);

// Left edge of thumbnail box k (0..4) in dialog client pixels; the boxes span y 55..155.
inline constexpr int ThumbnailLeft(int k) { return 180 + 82 * k; }
inline constexpr int kThumbnailTop = 55;

// The list index of the thumbnail under the client point (x, y), or -1.
int ThumbnailAt(int x, int y, int first_shown, int count);

// Where a thumbnail of a part of w x h is drawn in the box whose left edge is box_left:
// at (x, y) at its own size; for a pair also mirrored with its right edge at mirror_right.
// Pairs of eyes, eyebrows and others are stretched in half-tone mode, the rest copied.
struct ThumbnailPlacement {
    int x, y;
    bool pair;
    int mirror_right;
    bool halftone;
};
ThumbnailPlacement PlaceThumbnail(int category, std::u16string_view file, int w, int h, int box_left);

// The buttons that change a part; background is where the part sits (its left and top
// bound how far it may move out). Each step is applied only when its own limit allows:
// width and height grow by 2 while they stay within 120 and 150 (an odd 119 stays) and
// shrink by 2 while they stay at least 0; the
// corner moves by 1 to keep the part centred, no further than -left, -top and 80, 100.
// The angle stays within -50..50.
enum class PartEdit {
    kWider, kNarrower, kTaller, kShorter, kLarger, kSmaller,
    kUp, kDown, kLeft, kRight,
    kTurnRight, kTurnLeft, kNoTurn,
};
void ApplyPartEdit(PortraitPart& part, PartEdit edit, const PortraitBackground& background);

// The buttons that resize the background around its centre. It grows only while its
// corner stays in the client area and shrinks only while it stays at least 2 x 2.
enum class BackgroundEdit { kWider, kTaller, kNarrower, kShorter };
void ApplyBackgroundEdit(PortraitBackground& background, BackgroundEdit edit);

// The three corners of the parallelogram a part of w x h at top-left (x, y) is drawn into
// when turned by radians clockwise on the screen (anticlockwise when mirrored): upper-
// left, upper-right, lower-left, turned about the rectangle's exact centre and rounded.
// With no turn they are (x, y), (x + w, y), (x, y + h) exactly.
struct CornerPoint {
    int x, y;
    friend bool operator==(const CornerPoint&, const CornerPoint&) = default;
};
std::array<CornerPoint, 3> ParallelogramCorners(int x, int y, int w, int h, double radians, bool mirrored);

// Pixel rows of a 24-bit picture in memory: width pixels of blue, green, red per row,
// rows stride bytes apart (stride >= 3 x width). Functions never touch the padding.
struct PixelRows {
    std::uint8_t* bytes;
    int width, height, stride;
};

// The mask of a part, same size as the picture: white where the pixel is drawn, black
// where it is pure white (transparent). Taken before recolouring, so that a part
// recoloured white still shows.
void WhiteMask(const PixelRows& picture, const PixelRows& mask);

// Draws picture onto target through mask (the picture's size; white: drawn), mapped onto
// the parallelogram of the corners (upper-left, upper-right, lower-left, target pixels):
// each target pixel whose centre lies inside takes the picture pixel under that centre,
// whole pixels without blending, so a part without a turn lands pixel for pixel and pure
// colours stay pure. Pixels outside target are cut off; a flat parallelogram draws nothing.
void DrawParallelogram(const PixelRows& target, const PixelRows& picture, const PixelRows& mask,
                       const std::array<CornerPoint, 3>& corners);

// Recolours in place: in a face outline every pixel that is neither pure black nor pure
// white, in any other part every pure black pixel, takes the colour.
void RecolourPart(const PixelRows& picture, bool face_outline, std::uint8_t red, std::uint8_t green,
                  std::uint8_t blue);

// Turns each row's width pixels end to end (a horizontal mirror image).
void MirrorRows(const PixelRows& picture);

// The first pixel, in row order, that is neither pure black nor pure white; false when
// there is none (the colour is then left alone).
bool FirstColouredPixel(const PixelRows& picture, int& red, int& green, int& blue);
