// Decodes the audio of one Layer III frame: scale factors, Huffman data,
// requantisation, stereo, reordering, hybrid filter bank and synthesis.
#pragma once

#include <cstdint>

#include "soundfile/MP3Header.h"
#include "soundfile/MP3Requantize.h"
#include "soundfile/MP3SideInfo.h"
#include "soundfile/MP3Synthesis.h"

class LMP3FrameDecoder {
 public:
  // Prepares the band and reordering tables of the stream's first frame.
  void Init(const LMP3Header& first);
  // Forgets the filter state (after a seek).
  void Reset();
  // Writes samples-per-frame frames (interleaved when the stream is stereo).
  // mainData holds the frame's main data; bits past mainBytes read as zeros.
  void Decode(const LMP3Header& header, const LMP3SideInfo& side, const uint8_t* mainData, int mainBytes, int* out);
  // A frame whose main data is lost: silence through the filter bank, so
  // that the frame keeps its place in time and the filters stay continuous.
  void DecodeSilence(const LMP3Header& header, int* out);

 private:
  void DecodeGranule(const LMP3Header& header, const LMP3SideInfo& side, int granule, LMP3BitReader& bits,
                     int64_t& bitPosition, int* out);

  LMP3Bands m_bands{};
  LMP3Reorder m_reorder;
  LMP3Hybrid m_hybrid;
  LMP3PolyphaseSynth m_synth;
  bool m_stereo = false;
  LMP3ScaleFactors m_factors[2];
  int m_values[576];
  float m_xr[2][576];
  LMP3SubbandSlots m_slots[2];
};
