#include "editors/pick_colour.h"

#include "app/ui_seam.h"

void PickColour(HWND owner, int& r, int& g, int& b) {
    COLORREF custom[16] = {};
    CHOOSECOLORW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.rgbResult = RGB(r & 0xFF, g & 0xFF, b & 0xFF);
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT;
    if (Ui().ColorDialog(&request)) {
        r = GetRValue(request.rgbResult);
        g = GetGValue(request.rgbResult);
        b = GetBValue(request.rgbResult);
    }
    SetFocus(owner);
}
