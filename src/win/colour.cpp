#include "win/colour.h"

#include "win/ui_seam.h"

bool ChooseColour(HWND owner, COLORREF initial, COLORREF& chosen) {
    COLORREF custom[16] = {};
    CHOOSECOLORW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.rgbResult = initial;
    request.lpCustColors = custom;
    request.Flags = CC_RGBINIT;
    const bool confirmed = Ui().ColorDialog(&request) != FALSE;
    if (confirmed) chosen = request.rgbResult;
    SetFocus(owner);
    return confirmed;
}

void PickColour(HWND owner, int& r, int& g, int& b) {
    COLORREF colour = DesignColour(r, g, b);
    if (!ChooseColour(owner, colour, colour)) return;
    r = GetRValue(colour);
    g = GetGValue(colour);
    b = GetBValue(colour);
}
