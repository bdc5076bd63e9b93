#include "interchange/RubyAnimation.h"

#include "InterchangeFixtures.h"
#include "interchange/RubyMarshal.h"

#include <gtest/gtest.h>

namespace {

std::string payload(const cAnimeData& p, int version)
{
    Cclip_stream s;
    EXPECT_TRUE(WriteRubyAnimation(p, version, strFolderNames{}, s));
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

// Pieces of hand-written Marshal for the expected bytes.
std::string sym(const std::string& name) { return ":" + std::string(1, char(name.size() + 5)) + name; }
std::string link(int index) { return ";" + std::string(1, char(index + 5)); }
std::string fix(int v) { return "i" + std::string(1, char(v == 0 ? 0 : v + 5)); }
std::string le32(uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }
std::string emptyCellTable()
{
    std::string t = le32(2) + le32(1) + le32(8) + le32(1) + le32(8);
    t += std::string("\xFF\xFF", 2) + std::string(14, '\0');
    return t;
}

TEST(RubyExport, VxAceReferenceBlock)
{
    cAnimeData p;
    MakeProject(p, 2, "A");
    const std::string got = payload(p, RUBY_VXACE);

    std::string e = le32(322) + "\x04\x08[\x06";
    e += "o" + sym("RPG::Animation") + "\x0F";
    e += sym("@id") + fix(1);
    e += sym("@name") +
         "I\"\x06"
         "A\x06" +
         sym("E") + "T";
    e += sym("@animation1_name") + std::string("\"\0", 2) + sym("@animation1_hue") + fix(0);
    e += sym("@animation2_name") + std::string("\"\0", 2) + sym("@animation2_hue") + fix(0);
    e += sym("@position") + fix(1) + sym("@frame_max") + fix(2);
    e += sym("@frames") + "[\x07";
    e += "o" + sym("RPG::Animation::Frame") + "\x07" + sym("@cell_data") + "u" + sym("Table") + "\x29" +
         emptyCellTable() + sym("@cell_max") + fix(1);
    e += "o" + link(11) + "\x07" + link(12) + "u" + link(13) + "\x29" + emptyCellTable() + link(14) + fix(1);
    e += sym("@timings") + std::string("[\0", 2);
    ASSERT_EQ(e.size(), 322u);
    EXPECT_EQ(got, e);
}

TEST(RubyExport, XpWritesPlainStringsAndEightVariables)
{
    cAnimeData p;
    MakeProject(p, 1, "A");
    const std::string got = payload(p, RUBY_XP);
    const std::string head = std::string("\x04\x08[\x06o", 5) + sym("RPG::Animation") + "\x0D" + sym("@id") + fix(1) +
                             sym("@name") +
                             "\"\x06"
                             "A" +
                             sym("@animation_name");
    EXPECT_EQ(got.substr(4, head.size()), head);
}

TEST(RubyExport, LimitsFramesAndTimings)
{
    cAnimeData p;
    MakeProject(p, 251);
    strEffect e;
    e.seName = "s";
    for (int i = 0; i < 1023; ++i)
        AddEffect(p, e);
    Cclip_stream s;
    ASSERT_TRUE(WriteRubyAnimation(p, RUBY_VX, strFolderNames{}, s));
    cAnimeData back;
    ASSERT_EQ(ReadRubyAnimation(back, s), 1);
    EXPECT_EQ(back.GetValue(AI_FRAMES), 200);
    EXPECT_EQ(back.GetValue(AI_EFFECTS), 999);
}

// Ruby as the oracle.

const char* kRubyClasses = R"RB(
module RPG
  class Animation
    attr_accessor :id, :name, :animation_name, :animation_hue, :animation1_name, :animation1_hue,
                  :animation2_name, :animation2_hue, :position, :frame_max, :frames, :timings
    class Frame
      attr_accessor :cell_max, :cell_data
    end
    class Timing
      attr_accessor :frame, :se, :flash_scope, :flash_color, :flash_duration, :condition
    end
  end
  class AudioFile
    attr_accessor :name, :volume, :pitch
    def initialize(n = "", v = 100, p = 100); @name = n; @volume = v; @pitch = p; end
  end
  class SE < AudioFile; end
end
class Table
  attr_reader :xsize, :ysize, :zsize, :dims
  def initialize(x, y = 1, z = 1)
    @dims = z > 1 ? 3 : y > 1 ? 2 : 1; @xsize = x; @ysize = y; @zsize = z; @data = Array.new(x * y * z, 0)
  end
  def [](x, y) @data[x + @xsize * y] end
  def []=(x, y, v) @data[x + @xsize * y] = v end
  def self._load(s)
    dims, x, y, z, n = s.unpack('l<5')
    t = Table.new(x, y, z)
    t.instance_variable_set(:@dims, dims)
    t.instance_variable_set(:@data, s[20, n * 2].unpack('s<*'))
    t
  end
  def _dump(level) [@dims, @xsize, @ysize, @zsize, @data.size].pack('l<5') + @data.pack('s<*') end
end
class Color
  attr_reader :red, :green, :blue, :alpha
  def initialize(r, g, b, a) @red = r; @green = g; @blue = b; @alpha = a end
  def self._load(s) Color.new(*s.unpack('E4')) end
  def _dump(level) [@red, @green, @blue, @alpha].pack('E4') end
end
)RB";

const char* kRubyReport = R"RB(
raw = File.binread(ARGV[0])
puts "size=#{raw[0, 4].unpack1('L<') == raw.size}"
list = Marshal.load(raw[4..])
a = list[0]
hex = ->(s) { s.bytes.map { |b| '%02x' % b }.join }
puts "#{list.size} #{a.class} #{a.instance_variables.join(',')}"
puts "name=#{hex.(a.name)} #{a.name.encoding}"
[[a.animation_name, a.animation_hue], [a.animation1_name, a.animation1_hue],
 [a.animation2_name, a.animation2_hue]].each { |n, h| puts "pic=#{n.inspect},#{h.inspect}" unless n.nil? }
puts "position=#{a.position} frame_max=#{a.frame_max}"
a.frames.each_with_index do |f, i|
  t = f.cell_data
  rows = (0...t.xsize).map { |c| (0...8).map { |r| t[c, r] }.join(' ') }.join(' | ')
  puts "frame #{i} #{f.class} max=#{f.cell_max} dims=#{t.dims} #{t.xsize}x#{t.ysize}x#{t.zsize}: #{rows}"
end
a.timings.each do |t|
  c = t.flash_color
  puts "timing #{t.instance_variables.join(',')} frame=#{t.frame} dur=#{t.flash_duration} scope=#{t.flash_scope} " \
       "color=#{[c.red, c.green, c.blue, c.alpha].join(',')} se=#{t.se.class}:#{t.se.name}:#{t.se.volume}:" \
       "#{t.se.pitch} cond=#{t.condition.inspect}"
end
)RB";

void buildSample(cAnimeData& p)
{
    MakeProject(p, 2, "");
    p.SetText(AT_NAME, std::string("テスト"));
    p.SetValue(AI_CENTER_POSITION, 2);
    PutPicture(p, 0, "Graphics\\Animations\\Fire1.png", 30);
    PutPicture(p, 1, "Thunder.png");
    PutCell(p, 0, 0, {1, 5, 1, -10, 20, -150, 100, 900, 200});
    PutCell(p, 0, 2, {0, 150, 3, 0, 0, 5, 5, -905, 255});
    strEffect a = FlashEffect(0, 0, 5, 10, 20, 30, 200);
    a.seName = "Sound\\Fire.ogg";
    a.seVolume = 80;
    a.sePitch = 120;
    AddEffect(p, a);
    strEffect b;
    b.frame = 1;
    b.note = "HIT";
    AddEffect(p, b);
}

class RubyOracle : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveProgram("ruby"))
            GTEST_SKIP() << "ruby is not installed";
        dir = TestFolder("ruby");
    }
    std::string Report(const std::string& bytes)
    {
        WriteBytes(dir / "payload.bin", bytes.data(), bytes.size());
        int code = 0;
        std::string out = RunScript(dir, "ruby", std::string(kRubyClasses) + kRubyReport,
                                    "'" + (dir / "payload.bin").string() + "'", code);
        EXPECT_EQ(code, 0) << out;
        return out;
    }
    std::filesystem::path dir;
};

TEST_F(RubyOracle, ReadsVxAceExport)
{
    cAnimeData p;
    buildSample(p);
    EXPECT_EQ(Report(payload(p, RUBY_VXACE)),
              "size=true\n"
              "1 RPG::Animation @id,@name,@animation1_name,@animation1_hue,@animation2_name,@animation2_hue,"
              "@position,@frame_max,@frames,@timings\n"
              "name=e38386e382b9e38388 UTF-8\n"
              "pic=\"Fire1\",30\n"
              "pic=\"Thunder\",0\n"
              "position=2 frame_max=2\n"
              "frame 0 RPG::Animation::Frame max=3 dims=2 3x8x1: 104 -10 20 150 270 1 200 1 | -1 0 0 0 0 0 0 0 | "
              "99 0 0 20 90 0 255 0\n"
              "frame 1 RPG::Animation::Frame max=1 dims=2 1x8x1: -1 0 0 0 0 0 0 0\n"
              "timing @frame,@flash_duration,@flash_scope,@flash_color,@se frame=0 dur=5 scope=2 "
              "color=10.0,20.0,30.0,200.0 se=RPG::SE:Fire:80:120 cond=nil\n"
              "timing @frame,@flash_duration,@flash_scope,@flash_color,@se frame=1 dur=0 scope=0 "
              "color=100.0,0.0,0.0,0.0 se=RPG::SE::100:100 cond=nil\n");
}

TEST_F(RubyOracle, ReadsXpExport)
{
    cAnimeData p;
    buildSample(p);
    EXPECT_EQ(Report(payload(p, RUBY_XP)),
              "size=true\n"
              "1 RPG::Animation @id,@name,@animation_name,@animation_hue,@position,@frame_max,@frames,@timings\n"
              "name=e38386e382b9e38388 ASCII-8BIT\n"
              "pic=\"Fire1\",30\n"
              "position=2 frame_max=2\n"
              "frame 0 RPG::Animation::Frame max=3 dims=2 3x8x1: 4 -10 20 150 270 1 200 1 | -1 0 0 0 0 0 0 0 | "
              "149 0 0 20 90 0 255 0\n"
              "frame 1 RPG::Animation::Frame max=1 dims=2 1x8x1: -1 0 0 0 0 0 0 0\n"
              "timing @frame,@flash_duration,@flash_scope,@flash_color,@se,@condition frame=0 dur=5 scope=2 "
              "color=10.0,20.0,30.0,200.0 se=RPG::AudioFile:Fire:80:120 cond=0\n"
              "timing @frame,@flash_duration,@flash_scope,@flash_color,@se,@condition frame=1 dur=0 scope=0 "
              "color=100.0,0.0,0.0,0.0 se=RPG::AudioFile::100:100 cond=1\n");
}

// Ruby's own Marshal.dump, with extra instance variables, shared objects and
// a symbol the reader does not know, imports as RPG Maker's data would.
TEST_F(RubyOracle, ImportsRubyDump)
{
    const std::string dump = R"RB(
t = Table.new(3, 8)
[250, 5, -6, 120, 270, 1, 128, 2].each_with_index { |v, r| t[0, r] = v }
t[1, 0] = -1
[7, 0, 0, 100, 0, 0, 255, 9].each_with_index { |v, r| t[2, r] = v }
f = RPG::Animation::Frame.new; f.cell_max = 3; f.cell_data = t
f.instance_variable_set(:@note, { a: [1, 2.5, nil, true, "x" * 300] })
t1 = RPG::Animation::Timing.new
t1.frame = 1; t1.flash_scope = 2; t1.flash_duration = 6; t1.flash_color = Color.new(255.0, 128.0, 0.0, 160.0)
t1.se = RPG::SE.new("Bow", 90, 110); t1.condition = 0
t2 = RPG::Animation::Timing.new
t2.frame = 0; t2.flash_scope = 0; t2.flash_duration = 0; t2.flash_color = t1.flash_color
t2.se = RPG::AudioFile.new(""); t2.condition = 2
t3 = RPG::Animation::Timing.new
t3.frame = 2; t3.flash_scope = 0; t3.flash_duration = 0; t3.flash_color = Color.new(0.0, 0.0, 0.0, 0.0)
t3.se = t1.se; t3.condition = 0
a = RPG::Animation.new
a.id = 7; a.name = "炎"; a.animation1_name = "Fire1"; a.animation1_hue = 45; a.animation2_name = ""
a.animation2_hue = 0; a.position = 0; a.frame_max = 2; a.frames = [f, f]; a.timings = [t1, t2, t3]
a.instance_variable_set(:@extra, :some_symbol)
data = Marshal.dump([a, a])
File.binwrite(ARGV[0], [data.size + 4].pack('L<') + data)
)RB";
    int code = 0;
    const std::string out =
        RunScript(dir, "ruby", std::string(kRubyClasses) + dump, "'" + (dir / "dump.bin").string() + "'", code);
    ASSERT_EQ(code, 0) << out;
    const std::string bytes = ReadText(dir / "dump.bin");
    Cclip_stream s;
    s.Assign(bytes);
    cAnimeData p;
    ASSERT_EQ(ReadRubyAnimation(p, s), 1);
    // The second frame is a link to the first ('@'): stepped over, left empty.
    // The third timing's sound is a link too: it has no flash, sound or note and is dropped.
    EXPECT_EQ(Content(p), "name=" + std::string("炎") +
                              " center=3\n"
                              "frame 0 interval 0 slots 16\n"
                              "  cell 0: 1 51 2 5 -6 -120 120 -2700 128 100 100 100 100\n"
                              "  cell 2: 0 8 0 0 0 100 100 0 255 100 100 100 100\n"
                              "frame 1 interval 0 slots 16\n"
                              "picture 0 192 192 45 Fire1\n"
                              "effect 0 0 4 0 0 0 128 128 128 255 100 100 100 [] [MISS]\n"
                              "effect 1 1 3 6 0 0 255 128 0 160 90 110 100 [Bow] []\n");
}

// Import rules.

TEST(RubyImport, RejectsEmptyArrayAndOtherClasses)
{
    cAnimeData p;
    Cclip_stream s;
    s.Assign(std::string("\0\0\0\0\x04\x08[\0", 8));
    EXPECT_EQ(ReadRubyAnimation(p, s), -1);
    s.Assign(std::string("\0\0\0\0\x04\x08[\x06o:\x08"
                         "Foo\0",
                         14));
    EXPECT_EQ(ReadRubyAnimation(p, s), -1);
    s.Assign(std::string("\0\0\0\0\x04\x08[\x06o:\x1A"
                         "RPG::Animation::Frame\0",
                         30));
    EXPECT_EQ(ReadRubyAnimation(p, s), -1);
}

TEST(RubyImport, RoundTripsKeepWhatEachVersionCarries)
{
    for (int version : {RUBY_XP, RUBY_VX, RUBY_VXACE}) {
        SCOPED_TRACE(version);
        cAnimeData p;
        MakeProject(p, 3, "Round");
        p.SetValue(AI_EDIT_FORMAT, 2);
        p.SetValue(AI_CENTER_POSITION, 3);
        PutPicture(p, 0, "Fire1", 20);
        if (version != RUBY_XP)
            PutPicture(p, 1, "Ice");
        const int picture1 = version == RUBY_XP ? 0 : 1;
        PutCell(p, 0, 0, {0, 1, 0, -1024, 1024, 800, 800, 0, 0});
        PutCell(p, 0, 15, {picture1, 100, 2, 3, -4, -20, 20, -3590, 255});
        PutCell(p, 2, 7, {0, 42, 1, 0, 0, 100, 100, -10, 1});
        if (version == RUBY_XP) // one graphic: 100 and up are patterns of it, not of a second graphic
            PutCell(p, 1, 3, {0, 151, 0, 0, 0, 100, 100, 0, 255});
        strEffect flash = FlashEffect(0, 2, 255, 0, 255, 1, 2);
        AddEffect(p, flash);
        strEffect sound;
        sound.frame = 2;
        sound.seName = "Bow";
        sound.seVolume = 1;
        sound.sePitch = 200;
        AddEffect(p, sound);
        if (version == RUBY_XP) {
            strEffect note;
            note.frame = 1;
            note.note = "MISS";
            AddEffect(p, note);
        }
        Cclip_stream s;
        ASSERT_TRUE(WriteRubyAnimation(p, version, strFolderNames{}, s));
        cAnimeData back;
        ASSERT_EQ(ReadRubyAnimation(back, s), 1);
        EXPECT_EQ(Content(back), Content(p));
    }
}

TEST(RubyImport, DefaultPositionAndNamesOfPicture1)
{
    cAnimeData p;
    MakeProject(p, 1, "");
    p.SetValue(AI_CENTER_POSITION, 4); // right
    Cclip_stream s;
    WriteRubyAnimation(p, RUBY_VXACE, strFolderNames{}, s);
    cAnimeData back;
    ASSERT_EQ(ReadRubyAnimation(back, s), 1);
    EXPECT_EQ(back.GetValue(AI_CENTER_POSITION), 0);
    EXPECT_EQ(back.GetValue(AI_PICTURES), 0);
    EXPECT_EQ(back.GetValue(AI_EDIT_FORMAT), 2);
    EXPECT_EQ(back.GetValue(AI_DIVISION_FORMAT), 1);
    EXPECT_EQ(back.CellCount(), 16);
}

} // namespace
