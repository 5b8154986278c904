#include "render/picture_loading.h"

#include <ole2.h>
#include <olectl.h>

#include "render/pictures.h"
#include "win/guards.h"
#include "win/process.h"
#include "win/ui_seam.h"
#include "win/wide.h"

namespace {

void ReplaceSlot(HBITMAP& slot, HBITMAP picture) {
    if (slot) DeleteObject(slot);
    slot = picture;
}

}  // namespace

HBITMAP LoadPicture(const wchar_t* path) {
    if (!path || !path[0]) return nullptr;
    KernelHandle file(CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return nullptr;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == 0 || size == INVALID_FILE_SIZE) return nullptr;
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!memory.Get()) return nullptr;
    {
        GlobalLockGuard lock(memory.Get());
        DWORD read = 0;
        if (!lock.Get() || !ReadFile(file.Get(), lock.Get(), size, &read, nullptr) || read != size)
            return nullptr;
    }
    file.Close();
    ComRef<IStream> stream;
    // The stream frees the block when it is released.
    if (FAILED(CreateStreamOnHGlobal(memory.Get(), TRUE, stream.Out()))) return nullptr;
    memory.Release();
    ComRef<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(picture.Out()))) ||
        !picture)
        return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)) || !handle) return nullptr;
    return static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                          IMAGE_BITMAP, 0, 0, 0));
}

bool HasBitmapExtension(const wchar_t* path) {
    if (!path) return false;
    const int length = lstrlenW(path);
    return length >= 4 && CompareStringOrdinal(path + length - 4, 4, L".bmp", 4, TRUE) == CSTR_EQUAL;
}

HBITMAP LoadDialogPicture(const wchar_t* path, int load_mode) {
    if (load_mode == 0 && HasBitmapExtension(path))
        return static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    return LoadPicture(path);
}

void ReleaseDesignPictures() {
    DesignPictures& p = Pictures();
    ReplaceSlot(p.base, nullptr);
    for (HBITMAP& mark : p.mark) ReplaceSlot(mark, nullptr);
    ReplaceSlot(p.face, nullptr);
}

void LoadDesignPictures(HWND owner, bool release) {
    EnterStartFolder();
    if (release) ReleaseDesignPictures();
    DesignPictures& p = Pictures();
    const CardDesign& d = Design();
    ReplaceSlot(p.base, LoadDialogPicture(W(d.base_filepass), d.base_load_mode));
    if (!p.base) ShowMessage(owner, L"ベース画像が読み込み出来ません。", L"Image_Load");
    for (int i = 0; i < kMarkCount; ++i) {
        if (!d.mark_data[i].on) continue;
        ReplaceSlot(p.mark[i], LoadDialogPicture(W(d.mark_data[i].fm), d.mark_load_mode));
        if (!p.mark[i]) ShowMessage(owner, L"マーク画像が読み込み出来ません。", L"Image_Load");
    }
    if (d.phot_data.on) {
        ReplaceSlot(p.face, LoadDialogPicture(W(d.phot_data.fm), d.phot_load_mode));
        if (!p.face) ShowMessage(owner, L"顔の画像が読み込み出来ません。", L"Image_Load");
    }
}

void ReloadPictures() { LoadDesignPictures(Process().main_window, true); }
