#include "editors/face_form.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "design/fixed_text.h"
#include "design/numbers.h"

namespace {

constexpr std::size_t kNumberChars = 31;

int ReadNumber(std::u16string_view text) { return ParseWholeNumber(text.substr(0, kNumberChars)); }

// value into low..high, the lower bound applied first: a high below low wins.
long long LowerThenUpper(long long value, long long low, long long high) {
    return std::min(std::max(value, low), high);
}

}  // namespace

void StoreFaceForm(PhotData& face, const FaceFormInput& form, int card_w, int card_h) {
    face.on = form.on ? 1 : 0;
    face.x = ReadNumber(form.x);
    face.y = ReadNumber(form.y);
    face.w = ReadNumber(form.w);
    face.h = ReadNumber(form.h);
    if (form.path.size() < std::size(face.fm)) SetText(face.fm, form.path);
    ClampFaceOntoCard(face, card_w, card_h);
}

void ClampFaceOntoCard(PhotData& face, int card_w, int card_h) {
    const long long w = LowerThenUpper(face.w, 0, card_w);
    const long long h = LowerThenUpper(face.h, 0, card_h);
    face.w = static_cast<int>(w);
    face.h = static_cast<int>(h);
    face.x = static_cast<int>(LowerThenUpper(face.x, 0, card_w - w));
    face.y = static_cast<int>(LowerThenUpper(face.y, 0, card_h - h));
}
