#include "soundfile/IMASoundSource.h"

// Not decoded yet: reported as an unsupported format.
LSoundSource LIMAWaveOpenSource(LReadFile&, unsigned int, int, unsigned char channels, unsigned int) {
  if (channels != 1) return LSoundSource(kSourceUnsupportedEncoding);
  return LSoundSource(kSourceUnsupportedFormat);
}
