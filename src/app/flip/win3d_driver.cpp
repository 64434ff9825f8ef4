#include "app/flip/win3d_driver.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace duplora {

namespace {

// The release the program puts into the function table for the library to call back.
int ReleaseThroughTable(FlipDriver* handle) {
    return ReleaseFlipDriver(handle);
}

}  // namespace

int LoadFlipDriver(const std::string& library, FlipDriver** handle) {
    if (!handle) return W3D_NO_HANDLE;
    *handle = nullptr;
    auto* driver = static_cast<FlipDriver*>(std::calloc(1, sizeof(FlipDriver)));
    auto* functions =
        static_cast<W3dFunction*>(std::calloc(W3D_FUNCTION_SLOTS, sizeof(W3dFunction)));
    if (!driver || !functions) {
        std::free(driver);
        std::free(functions);
        return W3D_NO_MEMORY;
    }
    driver->size = W3D_HANDLE_SIZE;
    driver->functions = functions;
    driver->module = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    auto fill =
        driver->module
            ? reinterpret_cast<W3dFillFunctions>(dlsym(driver->module, "W3D_DDFillFunctions"))
            : nullptr;
    if (!fill) {
        if (driver->module) dlclose(driver->module);
        std::free(functions);
        std::free(driver);
        return W3D_NO_LIBRARY;
    }
    fill(driver);
    driver->functions[W3D_RELEASE] = reinterpret_cast<W3dFunction>(&ReleaseThroughTable);
    *handle = driver;
    return W3D_OK;
}

int ReleaseFlipDriver(FlipDriver* handle) {
    if (!handle) return W3D_NO_HANDLE;
    if (handle->size < 12) return W3D_HANDLE_TOO_SMALL;
    const W3dLibraryTable* library = handle->library;
    if (library && library->size > 4 * W3D_LIB_CLEANUP && library->entries[W3D_LIB_CLEANUP - 1])
        reinterpret_cast<void (*)(FlipDriver*)>(library->entries[W3D_LIB_CLEANUP - 1])(handle);
    if (handle->module) dlclose(handle->module);
    std::free(handle->functions);
    std::free(handle);
    return W3D_OK;
}

Win3dSession::~Win3dSession() {
    Close();
}

template <typename F>
F Win3dSession::Function(int slot) const {
    return driver_ ? reinterpret_cast<F>(driver_->functions[slot]) : nullptr;
}

// The library's table holds its size first; slot s is the function at byte 4 × s, present
// when the table reaches past it.
template <typename F>
F Win3dSession::LibraryFunction(int slot) const {
    const W3dLibraryTable* library = driver_ ? driver_->library : nullptr;
    if (!library || library->size < 4u * slot + 4) return nullptr;
    return reinterpret_cast<F>(library->entries[slot - 1]);
}

bool Win3dSession::Open(const std::string& library, int width, int height, int bitsPerPixel) {
    Close();
    error_ = LoadFlipDriver(library, &driver_);
    if (error_ != W3D_OK) return false;

    // The display: chosen by the library when its table is large enough, else the first.
    display_ = 0;
    displayName_ = "display";
    if (driver_->library && driver_->library->size > 43) {
        if (auto choose = LibraryFunction<int (*)()>(W3D_LIB_CHOOSE_DISPLAY)) display_ = choose();
        if (auto name = LibraryFunction<const char* (*)(int)>(W3D_LIB_DISPLAY_NAME))
            if (const char* text = name(display_)) displayName_ = text;
    }

    caps_ = W3dCapabilities{12, 0, 0};
    if (auto caps = Function<int (*)(W3dCapabilities*)>(W3D_CAPABILITIES)) caps(&caps_);
    const bool three = (caps_.flags1 & (W3D_CAPS1_THREE_PAGES_A | W3D_CAPS1_THREE_PAGES_B)) ||
                       (caps_.flags2 & (W3D_CAPS2_THREE_PAGES_A | W3D_CAPS2_THREE_PAGES_B));
    bits_ = (caps_.flags1 & W3D_CAPS1_8_BITS) && bitsPerPixel == 16 ? 8 : bitsPerPixel;
    // After the left page too, when three pages are used without the driver pacing them.
    flipAfterLeft_ = three && !(caps_.flags1 & W3D_CAPS1_THREE_PAGES_A) &&
                     !(caps_.flags2 & W3D_CAPS2_THREE_PAGES_A);

    const int pageCount = three ? 3 : 2;
    const int stride = (width * 3 + 3) & ~3;
    pixels_.assign(pageCount,
                   std::vector<unsigned char>(static_cast<std::size_t>(stride) * height));
    pages_.resize(pageCount);
    for (int i = 0; i < pageCount; ++i)
        pages_[i] = W3dPage{i, width, height, stride, pixels_[i].data()};

    if (auto attach = LibraryFunction<int (*)(int, W3dPage*)>(W3D_LIB_ATTACH))
        attached_ = attach(display_, &pages_[1]) != 0;
    auto start = Function<int (*)(int, void*, W3dPage*, W3dPage*)>(W3D_START_FLIPPING);
    if (!start || !start(display_, this, &pages_[0], &pages_[1])) {
        error_ = W3D_NO_LIBRARY;
        Close();
        return false;
    }
    flipping_ = true;
    return true;
}

W3dPage* Win3dSession::FreePage() {
    auto status = Function<int (*)(W3dPage*, std::uint32_t*)>(W3D_PAGE_STATUS);
    for (W3dPage& page : pages_) {
        std::uint32_t word = 0;
        if (status) status(&page, &word);
        if (!(word & (W3D_PAGE_BUSY | W3D_PAGE_SHOWN))) return &page;
    }
    return nullptr;
}

bool Win3dSession::PresentEye(const ImageBuffer& frame, int eye) {
    W3dPage* page = FreePage();
    if (!page || !frame || frame.BitCount() != 24) return false;
    const int rows = std::min(page->height, frame.Height());
    const int bytes = std::min(page->stride, frame.Stride());
    for (int row = 0; row < rows; ++row)
        std::memcpy(page->pixels + static_cast<std::size_t>(row) * page->stride,
                    frame.StoredRow(row), bytes);
    if (auto present = Function<int (*)(W3dPage*, int)>(W3D_PRESENT_PAGE)) present(page, eye);
    return true;
}

bool Win3dSession::Present(const ImageBuffer& left, const ImageBuffer& right) {
    if (!flipping_) return false;
    auto flipped = Function<int (*)(int)>(W3D_FLIPPED);
    const bool leftDone = PresentEye(left, 1);
    if (leftDone && flipAfterLeft_ && flipped) flipped(1);
    const bool rightDone = PresentEye(right, 0);
    if (rightDone && flipped) flipped(1);
    return leftDone && rightDone;
}

void Win3dSession::Close() {
    if (!driver_) return;
    if (flipping_)
        if (auto stop = Function<int (*)(int)>(W3D_STOP_FLIPPING)) stop(display_);
    flipping_ = false;
    attached_ = false;
    // The release the table names (the program's own, unless the library replaced it).
    auto release = Function<int (*)(FlipDriver*)>(W3D_RELEASE);
    FlipDriver* driver = driver_;
    driver_ = nullptr;
    if (release)
        release(driver);
    else
        ReleaseFlipDriver(driver);
    pages_.clear();
    pixels_.clear();
}

}  // namespace duplora
