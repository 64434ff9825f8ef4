// A Win3D page-flipping driver library, loaded with dlopen, and the calls the program makes
// to it: loading and releasing, the display and its capabilities, the two or three pages,
// and handing over each eye's frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/flip/win3d_abi.h"
#include "core/image/image_buffer.h"

namespace duplora {

// Loads `library` and lets its entry point fill the tables of a new handle. W3D_OK, or
// W3D_NO_HANDLE without `handle`, W3D_NO_MEMORY, W3D_NO_LIBRARY when the library or its entry
// point is missing.
int LoadFlipDriver(const std::string& library, FlipDriver** handle);
// The library's clean-up, then the tables are freed and the library unloaded. W3D_NO_HANDLE
// without a handle, W3D_HANDLE_TOO_SMALL for a record below 12 bytes.
int ReleaseFlipDriver(FlipDriver* handle);

class Win3dSession {
  public:
    Win3dSession() = default;
    ~Win3dSession();
    Win3dSession(const Win3dSession&) = delete;
    Win3dSession& operator=(const Win3dSession&) = delete;

    // Loads the library, chooses the display, reads the capabilities, makes and attaches the
    // pages of `width` × `height` and starts flipping. False (with everything released) when a
    // step fails; Error() says which.
    bool Open(const std::string& library, int width, int height, int bitsPerPixel);
    // Draws one frame: the left eye's picture to the first free page, handed over as left,
    // then the right eye's. Both are `width` × `height`, 24 bits.
    bool Present(const ImageBuffer& left, const ImageBuffer& right);
    // Stops flipping and releases the driver.
    void Close();

    bool IsOpen() const { return driver_ != nullptr; }
    int Error() const { return error_; }
    int DisplayIndex() const { return display_; }
    const std::string& DisplayName() const { return displayName_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int BitsPerPixel() const { return bits_; }

  private:
    template <typename F>
    F Function(int slot) const;
    template <typename F>
    F LibraryFunction(int slot) const;
    W3dPage* FreePage();
    bool PresentEye(const ImageBuffer& frame, int eye);

    FlipDriver* driver_ = nullptr;
    int error_ = 0;
    int display_ = 0;
    std::string displayName_;
    int bits_ = 0;
    bool attached_ = false;
    bool flipping_ = false;
    bool flipAfterLeft_ = false;
    W3dCapabilities caps_{};
    std::vector<std::vector<unsigned char>> pixels_;
    std::vector<W3dPage> pages_;
};

}  // namespace duplora
