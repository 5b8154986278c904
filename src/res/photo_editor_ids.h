// Photo editor "写真の編集": a photo zoomed, moved and cut with the mouse; each cut is
// offered for saving as a picture of the card.
#pragma once

#define IDD_PHOTO_EDITOR 111

#define IDC_PHOTO_BROWSE 202        // button "参照"
#define IDC_PHOTO_CLOSE 208         // button "閉じる"
#define IDC_PHOTO_HELP 209          // button "ﾍﾙﾌﾟ"
#define IDC_PHOTO_FIT 214           // button "フィット"
#define IDC_PHOTO_MOVE 255          // radio "移動"
#define IDC_PHOTO_ZOOM 256          // radio "拡大縮小"
#define IDC_PHOTO_FIXED_CUT 257     // radio "切取Ａ": a cut of the typed size
#define IDC_PHOTO_DRAGGED_CUT 258   // radio "切取Ｂ": a cut dragged with the mouse
#define IDC_PHOTO_PATH 331          // edit: the photo's path, shown only
#define IDC_PHOTO_CUT_WIDTH 336     // edit: width of the fixed cut
#define IDC_PHOTO_CUT_HEIGHT 337    // edit: height of the fixed cut

#define IDCUR_PHOTO_MOVE 381        // cursor while moving the photo
#define IDCUR_PHOTO_ZOOM 382        // cursor while zooming
