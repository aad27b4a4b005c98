// Measuring and scaling blocks of interleaved samples (see SoundSource.h for
// the representation). Counts are frames unless the name says samples.
#pragma once

// Largest absolute sample value; 0 for an empty buffer.
int GetBufferPeak(const int* buffer, int frames, unsigned char channels);
// Mean of (sample >> 5)^2 over all samples, accumulated without 32-bit overflow.
unsigned int GetBufferMeanSquare(const int* buffer, int frames, unsigned char channels);
// The same mean over one channel only.
int GetBufferMeanSquareChan(unsigned char channel, const int* buffer, int frames, unsigned char channels);
// sample = (factor * sample) >> 9 in place, over count samples (not frames);
// factor is in 1/512 units (512 = unity). No clipping.
void GainAudioBufferQuick(int factor, int* buffer, int count);
void ClearAudioBuffer(int* buffer, int frames, unsigned char channels);
