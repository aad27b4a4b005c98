#include "soundfile/MP3FrameDecoder.h"

// Worker code: allocates nothing per frame.

void LMP3FrameDecoder::Init(const LMP3Header& first) {
  m_bands = LMP3Bands::For(first);
  m_reorder.Build(m_bands);
  m_stereo = !first.IsMono();
  Reset();
}

void LMP3FrameDecoder::Reset() {
  m_hybrid.Reset();
  m_synth.Reset();
  for (LMP3ScaleFactors& f : m_factors) f = LMP3ScaleFactors();
}

void LMP3FrameDecoder::Decode(const LMP3Header& header, const LMP3SideInfo& side, const uint8_t* mainData,
                              int mainBytes, int* out) {
  LMP3BitReader bits(mainData, mainBytes);
  int64_t position = 0;
  const int channels = m_stereo ? 2 : 1;
  for (int gr = 0; gr < header.GetGranules(); ++gr)
    DecodeGranule(header, side, gr, bits, position, out + gr * 576 * channels);
}

void LMP3FrameDecoder::DecodeSilence(const LMP3Header& header, int* out) {
  const LMP3SideInfo silent;
  Decode(header, silent, nullptr, 0, out);
}

void LMP3FrameDecoder::DecodeGranule(const LMP3Header& header, const LMP3SideInfo& side, int gr, LMP3BitReader& bits,
                                     int64_t& position, int* out) {
  const int channels = m_stereo ? 2 : 1;
  for (int ch = 0; ch < channels; ++ch) {
    const LMP3GranuleInfo& info = side.granule[gr][ch];
    // Each granule and channel starts where the previous part2_3 data ended,
    // whatever the Huffman decoding consumed.
    bits.SetPosition(position);
    position += info.part23Length;
    LMP3ReadScaleFactors(bits, header, side, gr, ch, m_factors[ch]);
    const int lines = LMP3DecodeSpectrum(bits, LMP3MakeLayout(info, m_bands, position), m_values);
    LMP3Requantize(m_values, lines, info, m_factors[ch], m_bands, m_xr[ch]);
  }
  if (m_stereo) LMP3JointStereo(m_xr[0], m_xr[1], header, side.granule[gr][1], m_factors[1], m_bands);
  for (int ch = 0; ch < channels; ++ch) {
    const LMP3GranuleInfo& info = side.granule[gr][ch];
    m_reorder.Apply(m_xr[ch], info, m_bands);
    m_hybrid.Process(m_xr[ch], info, ch, m_slots[ch]);
  }
  m_synth.Synthesize(m_slots, out, m_stereo);
}
