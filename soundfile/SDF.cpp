#include "soundfile/SDF.h"

#include <cstring>

#include "soundfile/ByteOrder.h"

bool LSDFWriter::Write(const void* data, size_t n) {
  if (!m_ok) return false;
  if (m_maxBytes && m_pos + n > m_maxBytes) {
    m_ok = false;
    return false;
  }
  if (m_bytes.size() < m_pos + n) m_bytes.resize(m_pos + n);
  std::memcpy(m_bytes.data() + m_pos, data, n);
  m_pos += n;
  return true;
}

void LSDFWriter::WriteHeader(unsigned short identifier, unsigned short type, uint64_t size) {
  uint8_t h[kSDFHeaderBytes];
  LPutLE(h, identifier, 2);
  LPutLE(h + 2, type, 2);
  LPutLE(h + 4, size, 8);
  Write(h, sizeof h);
}

void LSDFWriter::StartChunk(unsigned short identifier, unsigned short type) {
  if (!m_ok) return;
  WriteHeader(identifier, type, 0);
  if (m_ok) m_open.push_back(m_pos);
}

void LSDFWriter::EndChunk(unsigned short) {
  if (!m_ok || m_open.empty()) return;
  const size_t start = m_open.back();
  m_open.pop_back();
  const size_t end = m_pos;
  uint8_t size[8];
  LPutLE(size, end - start, 8);
  m_pos = start - 8;  // the size field sits in the last 8 header bytes
  Write(size, sizeof size);
  m_pos = end;
}

void LSDFWriter::WriteBool(unsigned short identifier, bool b) {
  WriteHeader(identifier, kSDFBool, 1);
  const uint8_t v = b ? 1 : 0;
  Write(&v, 1);
}

void LSDFWriter::WriteInt(unsigned short identifier, int v) {
  WriteHeader(identifier, kSDFInt, 4);
  uint8_t b[4];
  LPutLE(b, static_cast<uint32_t>(v), 4);
  Write(b, 4);
}

bool LSDFReader::ReadHeader(LSDFChunk& chunk) {
  if (m_pos + kSDFHeaderBytes > m_size) return false;
  const uint8_t* p = m_data + m_pos;
  chunk.identifier = static_cast<unsigned short>(LReadLE(p, 2));
  chunk.type = static_cast<unsigned short>(LReadLE(p + 2, 2));
  chunk.size = LReadLE(p + 4, 8);
  m_pos += kSDFHeaderBytes;
  chunk.dataStart = m_pos;
  return true;
}

bool LSDFReader::ReadData(void* out, size_t n) {
  if (m_pos > m_size || n > m_size - m_pos) return false;
  std::memcpy(out, m_data + m_pos, n);
  m_pos += n;
  return true;
}

bool LSDFReader::ReadInt(int& v) {
  uint8_t b[4];
  if (!ReadData(b, 4)) return false;
  v = static_cast<int>(static_cast<uint32_t>(LReadLE(b, 4)));
  return true;
}

LSDFReaderChunkIterator::LSDFReaderChunkIterator(LSDFReader& reader)
    : m_reader(reader), m_next(reader.Tell()), m_end(reader.Size()) {}

LSDFReaderChunkIterator::LSDFReaderChunkIterator(LSDFReader& reader, const LSDFChunk& parent)
    : m_reader(reader), m_next(parent.dataStart), m_end(parent.dataStart) {
  if (parent.type == kSDFContainer) {
    // A size read from the store is bounded by the store before use.
    const uint64_t room = reader.Size() > parent.dataStart ? reader.Size() - parent.dataStart : 0;
    m_end = parent.dataStart + (parent.size < room ? parent.size : room);
  }
}

bool LSDFReaderChunkIterator::Next(LSDFChunk& chunk) {
  if (m_next + kSDFHeaderBytes > m_end) return false;
  m_reader.SeekTo(m_next);
  if (!m_reader.ReadHeader(chunk)) return false;
  const uint64_t room = m_end - chunk.dataStart;
  m_next = chunk.dataStart + (chunk.size < room ? chunk.size : room);
  return true;
}
