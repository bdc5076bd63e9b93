// Sound effects through OpenAL Soft's "wave" back end, which mixes in real time
// into a WAV file that the tests then read back and measure.

#include <gtest/gtest.h>

#include <sndfile.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "model/AnimeData.h"
#include "platform/Sound.h"
#include "platform/SoundDecoder.h"
#include "playback/SoundTable.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
constexpr double kToneSeconds = 0.25;

// Writes a 440 Hz tone (both channels alike for stereo) in the given format.
bool writeTone(const fs::path& file, int format, int channels, double seconds = kToneSeconds)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* sf = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!sf)
        return false;
    const int frames = int(seconds * kRate);
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            samples.push_back(0.5f * float(std::sin(2 * M_PI * 440.0 * i / kRate)));
    sf_count_t written = sf_writef_float(sf, samples.data(), frames);
    sf_close(sf);
    return written == frames;
}

struct Capture {
    std::vector<float> left, right;
};

// First and last sample above the threshold, in seconds; {-1, -1} when silent.
std::pair<double, double> activeSpan(const std::vector<float>& ch, float threshold = 0.02f)
{
    long first = -1, last = -1;
    for (size_t i = 0; i < ch.size(); ++i)
        if (std::fabs(ch[i]) > threshold) {
            if (first < 0)
                first = long(i);
            last = long(i);
        }
    return {first / double(kRate), last / double(kRate)};
}

double duration(const std::vector<float>& ch)
{
    auto [a, b] = activeSpan(ch);
    return a < 0 ? 0 : b - a;
}

// Rising zero crossings per second over the active span.
double frequency(const std::vector<float>& ch)
{
    auto [a, b] = activeSpan(ch);
    long from = long(a * kRate), to = long(b * kRate), crossings = 0;
    for (long i = from + 1; i <= to; ++i)
        if (ch[size_t(i - 1)] < 0 && ch[size_t(i)] >= 0)
            ++crossings;
    return crossings / (b - a);
}

double rms(const std::vector<float>& ch)
{
    double sum = 0;
    for (float v : ch)
        sum += double(v) * v;
    return ch.empty() ? 0 : std::sqrt(sum / double(ch.size()));
}

class SoundTest : public testing::Test {
protected:
    static fs::path dir;

    static void SetUpTestSuite()
    {
        dir = fs::temp_directory_path() / ("mevko_sound_" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::ofstream conf(dir / "alsoft.conf");
        conf << "[general]\nfrequency = 44100\nchannels = stereo\nhrtf = false\n"
             << "[wave]\nfile = " << (dir / "capture.wav").string() << "\n";
        conf.close();
        // The test runner selects the null back end; these tests capture instead.
        // OpenAL Soft reads its configuration once, before the first device opens.
        setenv("ALSOFT_DRIVERS", "wave", 1);
        setenv("ALSOFT_CONF", (dir / "alsoft.conf").c_str(), 1);
        ASSERT_TRUE(writeTone(dir / "tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1));
        ASSERT_TRUE(writeTone(dir / "stereo.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2));
    }
    static void TearDownTestSuite() { fs::remove_all(dir); }

    void SetUp() override
    {
        project.NewProject(dir.string());
        ASSERT_TRUE(device.Initialize()) << "the wave back end did not open";
    }

    void AddEffect(const std::string& name, int pitch = 100, int balance = 100, int volume = 100)
    {
        strEffect e;
        e.seName = name;
        e.sePitch = uint16_t(pitch);
        e.seBalance = uint16_t(balance);
        e.seVolume = uint16_t(volume);
        project.ValidateEffect(e);
        int index = 0;
        project.InsertEffect(e, &index);
    }

    void WaitWhilePlaying()
    {
        for (int i = 0; i < 300 && table.AnyPlaying(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }

    // Closes the device (which finishes the capture file) and reads the mix.
    Capture FinishCapture()
    {
        table.ReleaseAll();
        device.Shutdown();
        Capture cap;
        SF_INFO info{};
        SNDFILE* sf = sf_open((dir / "capture.wav").c_str(), SFM_READ, &info);
        if (!sf || info.channels != 2) {
            ADD_FAILURE() << "no stereo capture";
            if (sf)
                sf_close(sf);
            return cap;
        }
        std::vector<float> frames(size_t(info.frames) * 2);
        sf_count_t got = sf_readf_float(sf, frames.data(), info.frames);
        sf_close(sf);
        for (sf_count_t i = 0; i < got; ++i) {
            cap.left.push_back(frames[size_t(2 * i)]);
            cap.right.push_back(frames[size_t(2 * i + 1)]);
        }
        return cap;
    }

    Capture PlayAndCapture(int effectIndex)
    {
        table.LoadSounds(project);
        table.PlayEffect(*project.GetEffect(effectIndex));
        EXPECT_TRUE(table.AnyPlaying());
        WaitWhilePlaying();
        EXPECT_FALSE(table.AnyPlaying());
        return FinishCapture();
    }

    cAnimeData project;
    cSoundDevice device;
    cSoundTable table{device};
};

fs::path SoundTest::dir;

TEST_F(SoundTest, HalfPitchLastsTwiceAsLongAtHalfTheFrequency)
{
    AddEffect("tone.wav", 100);
    Capture normal = PlayAndCapture(0);
    EXPECT_NEAR(duration(normal.left), kToneSeconds, 0.01);
    EXPECT_NEAR(frequency(normal.left), 440, 6);

    ASSERT_TRUE(device.Initialize());
    project.NewProject(dir.string());
    AddEffect("tone.wav", 50);
    Capture half = PlayAndCapture(0);
    EXPECT_NEAR(duration(half.left), 2 * kToneSeconds, 0.02);
    EXPECT_NEAR(frequency(half.left), 220, 6);
}

class SoundBalanceTest : public SoundTest, public testing::WithParamInterface<std::tuple<const char*, int>> {};

// Balance 0 is left, 200 right, 100 centred; for mono and stereo files.
TEST_P(SoundBalanceTest, PansByBalance)
{
    const auto [file, balance] = GetParam();
    AddEffect(file, 100, balance);
    Capture cap = PlayAndCapture(0);
    const double left = rms(cap.left), right = rms(cap.right);
    EXPECT_GT(std::max(left, right), 0.02);
    if (balance == 0) {
        EXPECT_LT(right, 0.05 * left);
    } else if (balance == 200) {
        EXPECT_LT(left, 0.05 * right);
    } else {
        EXPECT_NEAR(left / right, 1.0, 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(MonoAndStereo, SoundBalanceTest,
                         testing::Combine(testing::Values("tone.wav", "stereo.wav"), testing::Values(0, 100, 200)));

TEST_F(SoundTest, EffectsNamingOneFileShareAnInstanceThatRestarts)
{
    // The first start plays on the left, the second (same file) on the right: a
    // restarted single instance leaves the left at the second start. The tone is
    // long enough for the second start to come well before the first would end.
    const double seconds = 0.6;
    ASSERT_TRUE(writeTone(dir / "long.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, seconds));
    AddEffect("long.wav", 100, 0);
    AddEffect("long.wav", 100, 200);
    table.LoadSounds(project);
    ASSERT_EQ(table.Size(), 1u);
    table.PlayEffect(*project.GetEffect(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    table.PlayEffect(*project.GetEffect(1));
    WaitWhilePlaying();
    Capture cap = FinishCapture();

    auto [leftFrom, leftTo] = activeSpan(cap.left);
    auto [rightFrom, rightTo] = activeSpan(cap.right);
    ASSERT_GE(leftFrom, 0);
    ASSERT_GE(rightFrom, 0);
    EXPECT_LT(leftTo - leftFrom, 0.7 * seconds); // cut short by the restart
    EXPECT_NEAR(leftTo, rightFrom, 0.03);
    EXPECT_NEAR(rightTo - rightFrom, seconds, 0.015); // played whole from the start
}

TEST_F(SoundTest, LoadKeepsUsedEntriesDropsStaleOnesAndSkipsBadFiles)
{
    std::ofstream(dir / "bad.wav") << "not a sound";
    ASSERT_TRUE(writeTone(dir / "other.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 0.05));
    AddEffect("tone.wav");
    AddEffect("missing.wav");
    AddEffect("bad.wav");
    AddEffect((dir / "TONE.WAV").string()); // absolute, matched case-insensitively
    table.LoadSounds(project);
    EXPECT_EQ(table.Size(), 2u);
    cSound* kept = table.Find("tone.wav");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(table.Find("missing.wav"), nullptr);
    table.PlayEffect(*project.GetEffect(1)); // silent, no failure
    EXPECT_FALSE(table.AnyPlaying());

    // Renaming the effect's file: the old entry goes, the new file is loaded, the
    // unchanged name keeps its instance.
    strEffect renamed = *project.GetEffect(3);
    renamed.seName = "other.wav";
    project.SetEffect(renamed, 3);
    table.LoadSounds(project);
    EXPECT_EQ(table.Size(), 2u);
    EXPECT_EQ(table.Find("tone.wav"), kept);
    EXPECT_NE(table.Find("other.wav"), nullptr);
    EXPECT_EQ(table.Find((dir / "TONE.WAV").string()), nullptr);

    table.PlayEffect(*project.GetEffect(0));
    EXPECT_TRUE(table.AnyPlaying());
    table.StopAll();
    EXPECT_FALSE(table.AnyPlaying());

    // A device shut down under playing instances leaves them silent and harmless;
    // without a ready device nothing loads.
    table.PlayEffect(*project.GetEffect(0));
    device.Shutdown();
    EXPECT_FALSE(table.AnyPlaying());
    table.PlayEffect(*project.GetEffect(0));
    table.ReleaseAll();
    table.LoadSounds(project);
    EXPECT_EQ(table.Size(), 0u);
}

struct FormatCase {
    const char* name;
    int format;
    int channels;
    bool exactLength;
};

class DecodeTest : public testing::TestWithParam<FormatCase> {};

TEST_P(DecodeTest, DecodesWhatLibsndfileReads)
{
    const FormatCase& c = GetParam();
    fs::path file = fs::temp_directory_path() / ("mevko_decode_" + std::to_string(getpid()) + c.name);
    if (!writeTone(file, c.format, c.channels))
        GTEST_SKIP() << "this libsndfile cannot write " << c.name;
    platform::DecodedSound pcm;
    ASSERT_TRUE(platform::DecodeSoundFile(file, pcm));
    fs::remove(file);
    EXPECT_EQ(pcm.channels, c.channels);
    EXPECT_EQ(pcm.sampleRate, kRate);
    const double frames = double(pcm.samples.size()) / c.channels;
    if (c.exactLength)
        EXPECT_EQ(frames, kToneSeconds * kRate);
    else // lossy codecs add encoder delay and padding
        EXPECT_NEAR(frames, kToneSeconds * kRate, 0.1 * kRate);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeTest,
                         testing::Values(FormatCase{".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, true},
                                         FormatCase{".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, true},
                                         FormatCase{".ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, false},
                                         FormatCase{".mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, false}),
                         [](const testing::TestParamInfo<FormatCase>& info) {
                             return std::string(info.param.name + 1);
                         });

TEST(SoundDecode, RejectsMissingAndNonSoundFiles)
{
    fs::path file = fs::temp_directory_path() / ("mevko_decode_bad_" + std::to_string(getpid()));
    std::ofstream(file) << "RIFF\x10\0\0\0WAVE";
    platform::DecodedSound pcm;
    EXPECT_FALSE(platform::DecodeSoundFile(file, pcm));
    EXPECT_FALSE(platform::DecodeSoundFile(file.string() + ".none", pcm));
    fs::remove(file);
}

} // namespace
