#include <cstring>

#include "platform/memory.h"
#include "platform/riff.h"
#include "platform/sound_device.h"
#include "platform/window.h"
#include "sound/sound.h"
#include "sound/sound_slots.h"
#include "sound/wav_format.h"

namespace korvane {
namespace {

// Asked of every buffer on top of the caller's flags.
constexpr uint32_t kLoaderBufferFlags =
    platform::kBufferStatic | platform::kBufferMixedInSoftware | platform::kBufferVolumeControl;

SoundId LowestFreeSlot() {
    for (SoundId id = 0; id < kSoundSlots; ++id) {
        if (detail::SlotOf(id)->inUse == 0) {
            return id;
        }
    }
    return -1;
}

// A data chunk may not claim more than the file holds nor more than any
// buffer can be: such a size is refused before a block of that size is asked
// for. The form's own size is not trusted: writers often understate it (36 +
// data, or a chunk before the data left out), while every byte is there.
bool DataSizePlausible(const platform::RiffFileData& file, const platform::RiffChunk& data) {
    const uint64_t dataEnd = static_cast<uint64_t>(data.dataOffset) + data.size;
    return dataEnd <= platform::RiffFileBytes(file) && data.size <= platform::kBufferMaxBytes;
}

// The format chunk and the data, read into a block; the file is closed when
// this returns.
struct WaveContents {
    platform::SoundFormat format;
    platform::MemoryBlock data;
    uint32_t dataSize = 0;
};

bool ReadWave(platform::RiffFileData& file, WaveContents* wave) {
    platform::RiffChunk form;
    platform::RiffChunk chunk;
    if (!platform::RiffDescendForm(file, platform::FourCc("WAVE"), &form) ||
        !platform::RiffDescendChunk(file, platform::FourCc("fmt "), form, &chunk)) {
        return false;
    }
    // Deliberate: 18 bytes are read whatever the chunk's own size, so a
    // 16-byte format chunk passes when anything follows it; the last two
    // bytes are not used.
    uint8_t formatBytes[kWaveFormatBytes];
    uint32_t got = 0;
    if (!platform::RiffRead(file, formatBytes, kWaveFormatBytes, &got) || got != kWaveFormatBytes) {
        return false;
    }
    wave->format = ReadWaveFormat(formatBytes);
    // The data chunk is searched for from the end of the format chunk on, so
    // a data chunk that comes first is not found.
    if (wave->format.formatTag != platform::kFormatPcm || !platform::RiffAscend(file, chunk) ||
        !platform::RiffDescendChunk(file, platform::FourCc("data"), form, &chunk) ||
        !DataSizePlausible(file, chunk)) {
        return false;
    }
    wave->data = platform::AllocateBlock(chunk.size, "sound");
    if (!wave->data) {
        return false;
    }
    wave->dataSize = chunk.size;
    // The file holds the whole chunk, so anything less is a read error.
    return platform::RiffRead(file, wave->data.get(), chunk.size, &got) && got == chunk.size;
}

// Copies the data into the new buffer through the two regions of one lock.
bool FillBuffer(platform::SoundBufferData& buffer, const WaveContents& wave) {
    platform::SoundRegions regions;
    // The buffer has never played, so its write position is its start.
    if (!platform::SoundBufferLock(buffer, 0, wave.dataSize, true, &regions)) {
        return false;
    }
    if (regions.firstBytes > 0) {
        std::memcpy(regions.first, wave.data.get(), regions.firstBytes);
    }
    if (regions.secondBytes > 0) {
        std::memcpy(regions.second, wave.data.get() + regions.firstBytes, regions.secondBytes);
    }
    return platform::SoundBufferUnlock(buffer, regions);
}

}  // namespace

SoundId SoundLoadWav(const char* path, uint32_t creationFlags) {
    const SoundId id = LowestFreeSlot();
    if (id < 0) {
        platform::ShowMessageBox("Unable to obtain free sound ID.");
        return -1;
    }
    WaveContents wave;
    {
        platform::RiffFile file = platform::RiffOpen(path);
        if (!file) {
            platform::ShowMessageBox("Unable to open .WAV file.");
            return -1;
        }
        // Every failure up to here leaves the slot free and says nothing.
        if (!ReadWave(*file, &wave)) {
            return -1;
        }
    }
    detail::SoundSlot& slot = *detail::SlotOf(id);
    slot.sampleRate = wave.format.samplesPerSecond;
    slot.dataSize = wave.dataSize;
    slot.inUse = 1;

    platform::SoundBufferDescription spec;
    spec.flags = creationFlags | kLoaderBufferFlags;
    spec.bytes = wave.dataSize;
    spec.format = DeviceFormatOf(wave.format);
    // Deliberate: from here on a failure keeps the slot taken. A buffer that
    // was created stays in the slot and goes at shut-down; a slot whose buffer
    // was refused has none and stays taken for the rest of the run.
    slot.buffer = platform::SoundBufferCreate(spec, id);
    if (!slot.buffer || !FillBuffer(*slot.buffer, wave)) {
        return -1;
    }
    return id;
}

}  // namespace korvane
