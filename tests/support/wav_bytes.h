#pragma once
// WAV files built byte by byte, so that a test can say exactly which chunks a
// file has, in which order and with which sizes.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace korvane::testing {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& bytes, uint32_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(Bytes& bytes, uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

// A chunk with its header, its data and the pad byte of an odd size;
// `declaredSize` replaces the true size in the header when given.
inline Bytes Chunk(const std::string& id, const Bytes& data, int64_t declaredSize = -1) {
    Bytes bytes(id.begin(), id.end());
    Put32(bytes, declaredSize >= 0 ? static_cast<uint32_t>(declaredSize)
                                   : static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    if (data.size() % 2 != 0) {
        bytes.push_back(0);
    }
    return bytes;
}

struct WaveFormatFields {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 8000;
    uint32_t averageBytes = 8000;
    uint16_t blockAlign = 1;
    uint16_t bits = 8;
};

// A format chunk of 16 bytes, or 18 with an extra-size field of 0.
inline Bytes FormatChunk(const WaveFormatFields& f, uint32_t size = 16) {
    Bytes data;
    Put16(data, f.tag);
    Put16(data, f.channels);
    Put32(data, f.rate);
    Put32(data, f.averageBytes);
    Put16(data, f.blockAlign);
    Put16(data, f.bits);
    if (size >= 18) {
        Put16(data, 0);
    }
    data.resize(size, 0);
    return Chunk("fmt ", data);
}

inline WaveFormatFields Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
    const auto block = static_cast<uint16_t>(channels * bits / 8);
    return WaveFormatFields{1, channels, rate, rate * block, block, bits};
}

// A RIFF form of type WAVE holding `chunks` in order; `declaredSize` replaces
// the form's true size when given.
inline Bytes RiffWave(std::initializer_list<Bytes> chunks, int64_t declaredSize = -1) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    Bytes bytes{'R', 'I', 'F', 'F'};
    Put32(bytes, declaredSize >= 0 ? static_cast<uint32_t>(declaredSize)
                                   : static_cast<uint32_t>(body.size()));
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

// `count` bytes counting up from `first`, easy to recognise anywhere.
inline Bytes Ramp(size_t count, uint8_t first = 0) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(first + i);
    }
    return bytes;
}

// The plainest good file: 8 kHz 8-bit mono, 16-byte format chunk, `data`.
inline Bytes SimpleWav(const Bytes& data) {
    return RiffWave({FormatChunk(Pcm(1, 8000, 8)), Chunk("data", data)});
}

}  // namespace korvane::testing
