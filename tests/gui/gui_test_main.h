// The GUI tests' own start: an offscreen QApplication, test-mode paths and no dialogs.
#pragma once

namespace duplora::test {

// Modal windows or popups the watchdog found open (and closed) so far.
int ModalWindowsSeen();

// Drops the offscreen platform's notes about what it cannot do.
void InstallQuietHandler();

}  // namespace duplora::test
