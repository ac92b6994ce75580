#include <gtest/gtest.h>

#include <string>

#include "tools/soundgen/song.h"

namespace korvane::test {
namespace {

using soundgen::Instrument;
using soundgen::ParseSong;
using soundgen::Song;

const char* const kHeader =
    "tempo 120\n"
    "steps 4\n"
    "beats 4\n"
    "bars 1\n";

TEST(NoteFile, ReadsNotesHoldsChordsAndAccents) {
    Song song;
    std::string error;
    const std::string text = std::string(kHeader) +
                             "voice lead lead volume 0.4 pan -0.5\n"
                             "pattern tune  # a comment after a word\n"
                             "  C4 - - . F#4 Bb3! A3+C4+E4' - . . . . . . . .\n"
                             "end\n"
                             "play lead tune\n";
    ASSERT_TRUE(ParseSong(text, song, error)) << error;
    ASSERT_EQ(song.voices.size(), 1U);
    const auto& events = song.voices[0].events;
    ASSERT_EQ(events.size(), 6U);
    EXPECT_EQ(events[0].midi, 60.0);  // C4, held three steps
    EXPECT_EQ(events[0].steps, 3U);
    EXPECT_EQ(events[1].midi, 66.0);  // F#4 is a sharp, not a comment
    EXPECT_EQ(events[1].step, 4U);
    EXPECT_EQ(events[2].midi, 58.0);  // Bb3, accented
    EXPECT_EQ(events[2].velocity, 1.0);
    EXPECT_EQ(events[3].step, 6U);  // the chord: three notes on one step
    EXPECT_EQ(events[5].midi, 64.0);
    EXPECT_EQ(events[5].steps, 2U);
    EXPECT_EQ(events[5].velocity, 0.5);
    EXPECT_EQ(song.voices[0].pan, -0.5);
}

TEST(NoteFile, DrumsAndRepeats) {
    Song song;
    std::string error;
    const std::string text = std::string(kHeader) +
                             "voice kit drums\n"
                             "pattern half\n k+h . s . k . s' h!\n end\n"
                             "play kit half*2\n";
    ASSERT_TRUE(ParseSong(text, song, error)) << error;
    ASSERT_EQ(song.voices[0].instrument, Instrument::kDrums);
    EXPECT_EQ(song.voices[0].events.size(), 2U * 6U);
    EXPECT_EQ(song.voices[0].events[1].drum, 'h');
    EXPECT_EQ(song.voices[0].events.back().step, 15U);
}

TEST(NoteFile, MistakesAreReportedWithTheirLine) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {std::string(kHeader) + "voice a kazoo\n", "line 5: no instrument named kazoo"},
        {std::string(kHeader) + "voice a lead\npattern p\n C4++E4\nend\n", "line 7: cannot read"},
        {std::string(kHeader) + "voice a lead\nplay a nothing\n", "line 6: no pattern named"},
        {std::string(kHeader) + "pattern p\n C4\n", "has no end"},
        {std::string(kHeader) + "voice a lead\npattern p\n C4 . . .\nend\nplay a p\n",
         "voice a has 4 steps, the loop has 16"},
        {std::string(kHeader) + "voice a drums\npattern p\n C4 . . . . . . . . . . . . . . .\n"
                                "end\nplay a p\n",
         "'C4' is not a drum"},
        {std::string(kHeader) + "voice a lead\npattern p\n X9 . . . . . . . . . . . . . . .\n"
                                "end\nplay a p\n",
         "'X9' is not a note"},
        {"tempo 0\nbars 1\n", "must be positive"},
        {std::string(kHeader) + "wobble 3\n", "line 5: cannot read this line"},
        {std::string(kHeader) + "play ghost\n", "line 5: cannot read this line"},
    };
    for (const Case& c : cases) {
        Song song;
        std::string error;
        EXPECT_FALSE(ParseSong(c.text, song, error)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace korvane::test
