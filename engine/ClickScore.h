// What the click track plays, decided beat by beat: the seam between the
// loop that renders the exact grid and whatever chooses the sounds (the
// measure table, a per-beat pattern, a practice plan).
//
// The click-track source calls a score on the audio worker thread: once at
// the start of every beat (BeginBeat), then once for every click slot of the
// beat (SoundAt). Both allocate nothing and never block.
#pragma once

#include <atomic>
#include <cstdint>

// The sounds a click slot can play.
// Downbeat: the accent sound at the downbeat's own level (the accent when the
// metronome has no downbeat sound).
enum class LClickSound : uint8_t { None, Accent, Beat, Click, Downbeat };

// The beat about to start. The source fills it with the values that carry on
// from the previous beat; a score may change bpm, clicksPerBeat, beatsPerBar
// and barBeat, and they hold from this beat on (a new grid segment starts at
// this beat's frame).
struct LClickBeat {
  static constexpr int kMaxBeatsPerBar = 16;

  int64_t index = 0;  // beats since the track started, 0 = the first
  int64_t frame = 0;  // exact start frame of the beat
  int barBeat = 0;    // place in the bar, 0 = downbeat
  int beatsPerBar = 1;
  int bpm = 120;
  int clicksPerBeat = 1;
  int64_t frames = 0;  // the beat's length, set by the source after BeginBeat

  // A new bar length from this beat on: the beat keeps its place in the bar
  // when the new bar has that place, else it becomes a downbeat (the bar
  // line a musician hears next is the soonest one that still makes sense).
  void ChangeBar(int beats);
};

class LClickScore {
 public:
  virtual ~LClickScore() = default;
  // Beats in the bar of the first beat, 1..kMaxBeatsPerBar.
  virtual int BeatsPerBar() const = 0;
  // At the start of every beat, the first included.
  virtual void BeginBeat(LClickBeat& beat) = 0;
  // The sound of sub-click sub (0 = on the beat) of the beat.
  virtual LClickSound SoundAt(const LClickBeat& beat, int sub) const = 0;
  // Frames after the slot's start at which its sound begins (a late, swung
  // off-beat); the sound is still cut at half the slot. slotOffset: frames
  // from the beat's start to the slot's. Default: on time.
  virtual int64_t OnsetDelay(const LClickBeat&, int /*sub*/, int64_t /*slotOffset*/, int64_t /*slotFrames*/) const {
    return 0;
  }
};

// The measure table's voicing: accents where the row has 1, the beat sound
// elsewhere, the click sound off the beat. Tempo, clicks per beat and measure
// may be changed from another thread while the track plays; each request
// applies at the next beat that the worker renders.
class LMeasureScore : public LClickScore {
 public:
  explicit LMeasureScore(int measure) : m_measure(measure) {}
  int BeatsPerBar() const override { return BeatsInMeasure(m_measure); }
  void BeginBeat(LClickBeat& beat) override;
  LClickSound SoundAt(const LClickBeat& beat, int sub) const override;

  // Any thread. A later request replaces one not yet applied.
  void Request(int bpm, int clicksPerBeat, int measure);
  // Beats of a measure row: 1 for "None" (every beat the same), else the
  // entries before the row's first 0.
  static int BeatsInMeasure(int measure);

 private:
  int m_measure;  // worker thread
  // bpm in bits 0..15, clicks per beat in bits 16..23, measure + 1 in bits
  // 24..31; 0 = no request.
  std::atomic<uint32_t> m_request{0};
};
