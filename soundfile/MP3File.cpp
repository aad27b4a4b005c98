#include "soundfile/MP3File.h"

// Not decoded yet: reported as an unsupported format.
LSoundSource LMP3File::OpenSource(const char*, bool) { return LSoundSource(kSourceUnsupportedFormat); }
