#include "soundfile/GSMWaveSource.h"

// Not decoded yet: reported as an unsupported format.
LSoundSource LGSMWaveOpenSource(LReadFile&, unsigned int, int) { return LSoundSource(kSourceUnsupportedFormat); }
