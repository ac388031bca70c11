#pragma once

namespace tank {

// The framework's sound lives inside one installation of the audio system.
// Every sample and sample instance belongs to the installation it was made
// in, which frees them all when it is uninstalled, whoever uninstalls it: the
// framework at the end of the program, or a game that restarts its sound
// with al_uninstall_audio() and al_install_audio().

// A number for the audio system installed now, 0 while none is. It changes
// once the system has been uninstalled, also when it has been installed again
// before the next question. What was made under another number has been freed
// and must not be touched; the sample bin and the player follow this.
unsigned long audio_session();

// Takes the framework's sound down, in this order: the player's voices
// stopped and destroyed, the sample bin's samples and missing_sample freed,
// the audio system uninstalled. Start-up arranges for it to run whenever the
// program ends (main returning, exit() from anywhere, a failed start-up),
// before the library's own exit handlers and the sound library's clean-up at
// unload, which would otherwise race its mixer thread. A game may also call
// it earlier; sounds asked for afterwards play only once audio is installed
// again.
void shut_down_audio();

}  // namespace tank
