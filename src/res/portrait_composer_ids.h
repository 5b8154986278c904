// Portrait composer "似顔絵の編集": a face put together from the part pictures of the kao
// folder, each part moved, sized, turned and recoloured, and saved as a face picture.
#pragma once

#define IDD_PORTRAIT 113

#define IDC_PORTRAIT_CATEGORY_FIRST 5001  // "顔": buttons 5001..5012 choose category id - 5000
#define IDC_PORTRAIT_CATEGORY_LAST 5012   // "眼鏡"

#define IDC_PORTRAIT_OFF 201           // button "OFF": the category's parts out of use
#define IDC_PORTRAIT_WIDER 205         // button "横広" (part)
#define IDC_PORTRAIT_NARROWER 206      // button "横縮"
#define IDC_PORTRAIT_TALLER 207        // button "縦広"
#define IDC_PORTRAIT_SHORTER 208       // button "縦縮"
#define IDC_PORTRAIT_BACK_WIDER 209    // button "横広" (background)
#define IDC_PORTRAIT_BACK_TALLER 210   // button "縦広"
#define IDC_PORTRAIT_BACK_NARROWER 211 // button "横縮"
#define IDC_PORTRAIT_BACK_SHORTER 212  // button "縦縮"
#define IDC_PORTRAIT_LARGER 215        // button "拡大"
#define IDC_PORTRAIT_SMALLER 216       // button "縮小"
#define IDC_PORTRAIT_TURN_RIGHT 217    // button "右回"
#define IDC_PORTRAIT_TURN_LEFT 218     // button "左回"
#define IDC_PORTRAIT_NO_TURN 219       // button "0度"
#define IDC_PORTRAIT_COLOUR 220        // button "色"
#define IDC_PORTRAIT_UP 221            // button "↑"
#define IDC_PORTRAIT_DOWN 222          // button "↓"
#define IDC_PORTRAIT_LEFT 223          // button "←"
#define IDC_PORTRAIT_RIGHT 224         // button "→"
#define IDC_PORTRAIT_NEXT_SLOT 226     // button "≪": the next other part
#define IDC_PORTRAIT_PREVIOUS_SLOT 227 // button "≫": the other part before
#define IDC_PORTRAIT_PREVIOUS_PAGE 231 // button "<<"
#define IDC_PORTRAIT_NEXT_PAGE 232     // button ">>"
#define IDC_PORTRAIT_SAVE 233          // button "保存"
#define IDC_PORTRAIT_CLOSE 234         // button "閉じる"
#define IDC_PORTRAIT_HELP 235          // button "ﾍﾙﾌﾟ"
#define IDC_PORTRAIT_FRONT_HAIR 251    // radio "前": the edits act on the front hair
#define IDC_PORTRAIT_BACK_HAIR 252     // radio "後": the size and move edits act on the back hair

#define IDC_PORTRAIT_BACKGROUND_FRAME 1001  // empty frame around the background area
#define IDC_PORTRAIT_THUMBNAIL_FRAME 1002   // empty frame around the thumbnails
