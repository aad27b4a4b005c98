// Chunked store for effect parameters. Each chunk: 16-bit identifier, 16-bit
// type (0 container, 1 bool, 2 int32), 64-bit data size, then the data; all
// little-endian. Kept in memory; how the bytes reach a file is the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr unsigned short kSDFGainChunk = 0x1000;
constexpr unsigned short kSDFOptionChunk = 0x2000;
enum LSDFChunkType : unsigned short { kSDFContainer = 0, kSDFBool = 1, kSDFInt = 2 };
constexpr int kSDFHeaderBytes = 12;

struct LSDFChunk {
  unsigned short identifier = 0;
  unsigned short type = 0;
  uint64_t size = 0;
  uint64_t dataStart = 0;  // offset of the first data byte
};

class LSDFWriter {
 public:
  // maxBytes bounds the store so that a full medium can be modelled; 0 = none.
  explicit LSDFWriter(size_t maxBytes = 0) : m_maxBytes(maxBytes) {}
  void StartChunk(unsigned short identifier, unsigned short type);
  void EndChunk(unsigned short identifier);
  void WriteBool(unsigned short identifier, bool b);
  void WriteInt(unsigned short identifier, int v);
  bool IsOk() const { return m_ok; }
  const std::vector<uint8_t>& Bytes() const { return m_bytes; }

 private:
  bool Write(const void* data, size_t n);
  void WriteHeader(unsigned short identifier, unsigned short type, uint64_t size);
  std::vector<uint8_t> m_bytes;
  size_t m_pos = 0;
  size_t m_maxBytes;
  bool m_ok = true;
  std::vector<size_t> m_open;  // data offsets of the chunks being written
};

class LSDFReader {
 public:
  LSDFReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
  bool ReadHeader(LSDFChunk& chunk);
  bool ReadData(void* out, size_t n);
  bool ReadInt(int& v);
  void SeekTo(uint64_t offset) { m_pos = offset < m_size ? offset : m_size; }
  uint64_t Tell() const { return m_pos; }
  uint64_t Size() const { return m_size; }

 private:
  const uint8_t* m_data;
  size_t m_size;
  uint64_t m_pos = 0;
};

// Visits the chunks of the whole store, or the children of a container chunk.
class LSDFReaderChunkIterator {
 public:
  explicit LSDFReaderChunkIterator(LSDFReader& reader);
  LSDFReaderChunkIterator(LSDFReader& reader, const LSDFChunk& parent);
  // Positions the reader at the next chunk's data; false when none is left.
  bool Next(LSDFChunk& chunk);
  LSDFReader& Reader() { return m_reader; }

 private:
  LSDFReader& m_reader;
  uint64_t m_next;
  uint64_t m_end;
};
