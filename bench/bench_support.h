// What the Windows benchmarks share besides the tests' seam and bitmap: generated picture
// files in a scratch folder and the pictures-only floor of a design.
#pragma once
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "design/card_design.h"
#include "design/fixed_text.h"
#include "win/wide.h"

// A scratch folder of picture files, removed with them at the end.
class BenchFolder {
public:
    explicit BenchFolder(const wchar_t* name) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + name + L"-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    ~BenchFolder() {
        for (const std::wstring& file : written_) DeleteFileW(file.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

    // A 24-bit bitmap file of a smooth colour field, as photographs and logos give.
    bool WritePicture(const wchar_t* name, int w, int h, int seed) {
        const int stride = (w * 3 + 3) & ~3;
        std::vector<unsigned char> file(54 + static_cast<size_t>(stride) * h, 0);
        auto put32 = [&](size_t at, unsigned value) {
            for (int i = 0; i < 4; ++i) file[at + i] = static_cast<unsigned char>(value >> (8 * i));
        };
        file[0] = 'B', file[1] = 'M';
        put32(2, static_cast<unsigned>(file.size()));
        put32(10, 54);
        put32(14, 40);
        put32(18, static_cast<unsigned>(w));
        put32(22, static_cast<unsigned>(h));
        file[26] = 1, file[28] = 24;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                unsigned char* p = &file[54 + static_cast<size_t>(y) * stride + x * 3];
                p[0] = static_cast<unsigned char>(x * 255 / w);
                p[1] = static_cast<unsigned char>(y * 255 / h);
                p[2] = static_cast<unsigned char>((x + y + seed * 50) & 0xFF);
            }
        }
        const std::wstring path = File(name);
        HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE) return false;
        written_.push_back(path);
        DWORD written = 0;
        const BOOL ok = WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
        CloseHandle(out);
        return ok && written == file.size();
    }

private:
    std::wstring path_;
    std::vector<std::wstring> written_;
};

// The median time of rounds runs of run, in milliseconds, after one run that warms caches.
template <typename Run>
double MedianMs(int rounds, Run run) {
    std::vector<double> times;
    for (int i = 0; i <= rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (i > 0) times.push_back(took.count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void SetPath(char16_t (&field)[256], const BenchFolder& folder, const wchar_t* name) {
    SetText(field, U16(folder.File(name).c_str()));
}

// A busy card over the pictures base.bmp, face.bmp and mark1.bmp .. mark5.bmp of folder:
// the base picture, the face, five marks (every other one keyed on white), the fifteen
// sample texts (some boxed) and four QR codes.
inline std::unique_ptr<CardDesign> BusyCard(const BenchFolder& folder) {
    auto d = std::make_unique<CardDesign>();
    ResetDesign(*d, SettingsScope::Full);
    SetPath(d->base_filepass, folder, L"base.bmp");
    d->base_pl_mode = 1;
    d->b_outline = 1;
    d->phot_data = {1, 352, 96, 80, 100, {}};
    SetPath(d->phot_data.fm, folder, L"face.bmp");
    const wchar_t* marks[kMarkCount] = {L"mark1.bmp", L"mark2.bmp", L"mark3.bmp", L"mark4.bmp", L"mark5.bmp"};
    for (int i = 0; i < kMarkCount; ++i) {
        d->mark_data[i] = {1, 18 + 70 * i, 16, 44, 44, i % 2, {}};
        SetPath(d->mark_data[i].fm, folder, marks[i]);
    }
    SetSampleText(*d, -1);
    for (int j = 0; j < kTextCount; ++j) {
        StrData& t = d->str_data[j];
        t.on = 1;
        t.x = 10 + (j % 3) * 140;
        t.y = 70 + (j / 3) * 40;
        t.bk = j % 4 == 0;
    }
    const char16_t* texts[kQrCount] = {
        u"MEMORY:会社名\r\nNAME1:山田太郎\r\nTEL1:03-1234-5678\r\nMAIL1:taro@example.jp\r\n",
        u"http://www.example.jp/", u"名刺", u"0312345678"};
    for (int k = 0; k < kQrCount; ++k) {
        QrcodeData& qr = d->qrcode_data[k];
        qr.on = 1;
        SetText(qr.s, texts[k]);
        qr.Lv = k % 4;
        qr.Sell = 2;
        qr.x = 20 + 110 * k, qr.y = 170;
        qr.br = qr.bg = qr.bb = 255;
    }
    return d;
}

// The design with its texts and QR codes switched off: what is left is the floor that
// stretching its pictures sets.
inline std::unique_ptr<CardDesign> PicturesOnly(const CardDesign& design) {
    auto d = std::make_unique<CardDesign>(design);
    for (StrData& t : d->str_data) t.on = 0;
    for (QrcodeData& qr : d->qrcode_data) qr.on = 0;
    d->b_outline = d->p_outline = 0;
    return d;
}
