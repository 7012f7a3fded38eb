// The host settings every menu and toolbar test sees, whatever the host
// says: submenus open at once, nothing animates or sounds, keyboard cues
// show and the wheel scrolls three lines a notch.
#pragma once

namespace testing_support {

void InstallQuietBarSeams();

} // namespace testing_support
