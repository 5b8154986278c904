// Face dialog "顔の設定": the card's face picture (a photo or a portrait), its place and
// size on the card and its file.
#pragma once

#define IDD_FACE 110

#define IDC_FACE_NEXT 201       // button "次": the next picture of the phot folder
#define IDC_FACE_BROWSE 202     // button "参照"
#define IDC_FACE_PREVIOUS 203   // button "戻": the picture before
#define IDC_FACE_PHOTO 204      // button "写真加工"
#define IDC_FACE_PORTRAIT 205   // button "似顔絵作成"
#define IDC_FACE_OK 207         // default button "OK"
#define IDC_FACE_CANCEL 208     // button "ｷｬﾝｾﾙ"
#define IDC_FACE_HELP 209       // button "ﾍﾙﾌﾟ"
#define IDC_FACE_PAINT 216      // button "お絵描きソフト"
#define IDC_FACE_USE 290        // check box "使用する"
#define IDC_FACE_PATH 331       // edit: the picture's path
#define IDC_FACE_Y 335          // edit: Y
#define IDC_FACE_X 339          // edit: X
#define IDC_FACE_WIDTH 340      // edit: width
#define IDC_FACE_HEIGHT 341     // edit: height

// The preview's area, in dialog units from the client area's top-left corner: the picture
// is shown there at its own size, and what does not fit is cut off.
#define FACE_PREVIEW_RIGHT 88
#define FACE_PREVIEW_BOTTOM 106
