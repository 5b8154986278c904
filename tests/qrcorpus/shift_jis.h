// UTF-8 to Shift_JIS (CP932) through iconv, for building native QR payloads from real
// Japanese text. Exits with status 2 when the conversion is not available or fails: a corpus
// or benchmark without its Kanji payloads would measure the wrong thing.
#pragma once

#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string ToShiftJis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::perror("iconv_open CP932");
        std::exit(2);
    }
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t in_left = utf8.size();
    char* dst = out.data();
    size_t out_left = out.size();
    if (iconv(cd, &in, &in_left, &dst, &out_left) == static_cast<size_t>(-1)) {
        std::perror("iconv");
        std::exit(2);
    }
    iconv_close(cd);
    out.resize(out.size() - out_left);
    return out;
}
