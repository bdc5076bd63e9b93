#include "interchange/DataFile.h"
#include "interchange/MarshalTree.h"
#include "interchange/RubyAnimation.h"

#include "InterchangeFixtures.h"

#include <gtest/gtest.h>

using namespace MKRUBY;

namespace {

// Stand-ins for the game classes; Table and Color keep their bytes as dumped.
const char* kRubyClasses = R"RB(
module RPG
  class Animation; class Frame; end; class Timing; end; end
  class AudioFile; end
  class SE < AudioFile; end
end
class Table
  def self._load(s) t = allocate; t.instance_variable_set(:@raw, s); t end
  def _dump(_) @raw end
  def self.make(x, y, v) t = allocate; t.instance_variable_set(:@raw, [2, x, y, 1, x * y].pack('l<5') + v.pack('s<*')); t end
end
class Color
  def self._load(s) c = allocate; c.instance_variable_set(:@raw, s); c end
  def _dump(_) @raw end
  def self.make(*v) c = allocate; c.instance_variable_set(:@raw, v.pack('E4')); c end
end
def obj(klass, ivars) o = klass.allocate; ivars.each { |k, v| o.instance_variable_set(k, v) }; o end
)RB";

// ARGV: kind (xp, vx, vxace), output file. Slots: nil, 1, 2, nil, 4, a stray string.
const char* kRubyGenerate = R"RB(
xp = ARGV[0] == 'xp'
str = ->(s) { xp || ARGV[0] == 'vx-plain' ? s.b : s.dup.force_encoding('UTF-8') }
frame = lambda do |cells|
  x = cells.size
  v = Array.new(x * 8, 0)
  cells.each_with_index { |c, i| (c || [-1, 3, 4, 100, 0, 0, 200, 1]).each_with_index { |n, r| v[i + x * r] = n } }
  obj(RPG::Animation::Frame, :@cell_max => x, :@cell_data => Table.make(x, 8, v))
end
timing = lambda do |f, se, scope, color, dur, cond = 0|
  iv = { :@frame => f, :@se => se, :@flash_scope => scope, :@flash_color => color, :@flash_duration => dur }
  iv[:@condition] = cond if xp
  obj(RPG::Animation::Timing, iv)
end
sound = ->(name) { obj(xp ? RPG::AudioFile : RPG::SE, :@name => str.(name), :@volume => 80, :@pitch => 100) }
anim = lambda do |id, name, frames, timings, extra = {}|
  iv = { :@id => id, :@name => str.(name) }
  if xp
    iv.merge!(:@animation_name => str.('Fire1'), :@animation_hue => 0)
  else
    iv.merge!(:@animation1_name => str.('Fire1'), :@animation1_hue => 20, :@animation2_name => str.(''),
              :@animation2_hue => 0)
  end
  obj(RPG::Animation, iv.merge(:@position => 1, :@frame_max => frames.size, :@frames => frames,
                                :@timings => timings).merge(extra))
end
shared = sound.('Fire2')
red = Color.make(255.0, 0.0, 0.0, 255.0)
list = [nil,
  anim.(1, 'Hit', [frame.([[0, -20, 10, 100, 0, 0, 255, 1], nil, [3, 0, 0, 150, 45, 1, 128, 0]]),
                   frame.([[1, 0, 0, 100, 0, 0, 255, 1]])],
        [timing.(0, sound.('Blow1'), 1, Color.make(255.0, 255.0, 255.0, 128.0), 5),
         timing.(1, sound.(''), 0, Color.make(12.5, 0.0, 0.0, 255.0), 7)]),
  anim.(2, '炎／ファイア', [frame.([[5, 1, 2, 100, 0, 0, 255, 1], nil]), frame.([nil, [7, 9, 9, 90, 10, 0, 100, 2]]),
                             frame.([[100, 0, 0, 100, 0, 0, 255, 0]])],
        [timing.(0, sound.('Fire1'), 2, Color.make(255.0, 128.0, 0.0, 200.0), 4, 1),
         timing.(2, sound.(''), 0, Color.make(1.0, 2.0, 3.0, 4.0), 9)],
        { :@condition => 2, :@memo => str.('メモ') }),
  nil,
  anim.(4, 'Last', [frame.([[2, 0, 0, 100, 0, 0, 255, 1]])],
        [timing.(0, shared, 1, red, 3), timing.(0, shared, 3, red, 3)],
        { :@extra => { :a => 1.5, 'k' => [2**40, -(2**70), /ab+c/i, :sym, 3.0e-5] } }),
  str.('stray')]
File.binwrite(ARGV[1], Marshal.dump(list))
)RB";

// ARGV: old file, new file. Which elements changed, whether the new file is Ruby's
// own dump of what it holds, and the parts of entry 2 the merge should keep.
const char* kRubyCompare = R"RB(
old = Marshal.load(File.binread(ARGV[0]))
raw = File.binread(ARGV[1])
new = Marshal.load(raw)
puts "canonical=#{Marshal.dump(new) == raw} size=#{new.size}"
puts "changed=#{(0...[old.size, new.size].max).reject { |i| Marshal.dump(old[i]) == Marshal.dump(new[i]) }.join(',')}"
same = ->(a, b) { Marshal.dump(a) == Marshal.dump(b) }
o, n = old[2], new[2]
puts "ivars=#{n.instance_variables == o.instance_variables} id=#{n.instance_variable_get(:@id)}"
puts "frames=#{(0...3).map { |i| same.(o.instance_variable_get(:@frames)[i], n.instance_variable_get(:@frames)[i]) }.join(',')}"
cells = ->(a) { d = a.instance_variable_get(:@frames)[0].instance_variable_get(:@cell_data).instance_variable_get(:@raw)[20..].unpack('s<*'); [d.each_slice(2).map(&:first), d.each_slice(2).map(&:last)] }
puts "frame0 cell0=#{cells.(o)[0] == cells.(n)[0]} cell1=#{cells.(o)[1] == cells.(n)[1]}"
puts "timings=#{same.(o.instance_variable_get(:@timings), n.instance_variable_get(:@timings))}"
puts "memo=#{same.(o.instance_variable_get(:@memo), n.instance_variable_get(:@memo))}"
)RB";

const eDataFileKind kKinds[] = {DATA_XP, DATA_VX, DATA_VXACE};
const char* kindName(eDataFileKind k) { return k == DATA_XP ? "xp" : k == DATA_VX ? "vx" : "vxace"; }

class RubyDataFile : public ::testing::TestWithParam<eDataFileKind> {
protected:
    void SetUp() override
    {
        if (!HaveProgram("ruby"))
            GTEST_SKIP() << "ruby is not installed";
        dir = TestFolder(std::string("rubydb_") + kindName(GetParam()));
        original = Ruby(kRubyGenerate, std::string(kindName(GetParam())) + " '" + (dir / "in.bin").string() + "'",
                        dir / "in.bin");
        ASSERT_FALSE(original.empty());
    }

    std::string Ruby(const char* script, const std::string& args, const std::filesystem::path& out = {})
    {
        int code = 0;
        const std::string text = RunScript(dir, "ruby", std::string(kRubyClasses) + script, args, code);
        EXPECT_EQ(code, 0) << text;
        return out.empty() ? text : ReadText(out);
    }

    std::string Compare(const std::string& written)
    {
        WriteBytes(dir / "out.bin", written.data(), written.size());
        return Ruby(kRubyCompare, "'" + (dir / "in.bin").string() + "' '" + (dir / "out.bin").string() + "'");
    }

    std::unique_ptr<cDataFile> Open(std::string bytes)
    {
        std::string error;
        auto file = ParseDataFile(GetParam(), std::move(bytes), error);
        EXPECT_TRUE(file) << error;
        return file;
    }

    std::filesystem::path dir;
    std::string original;
};

TEST_P(RubyDataFile, ReadAndWriteGiveRubysBytes)
{
    auto file = Open(original);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Bytes(), original);

    // The tree alone writes the same bytes.
    cMarshalPool pool;
    cMarshalReader r(original, pool);
    const strMarshalNode* root = r.ReadVersion() ? r.ReadValue() : nullptr;
    ASSERT_TRUE(root) << r.Error();
    cMarshalWriter w;
    w.WriteVersion();
    ASSERT_TRUE(w.Write(*root));
    EXPECT_EQ(w.Bytes(), original);

    // Importing and exporting an entry unchanged gives the file back.
    cAnimeData p;
    std::string error;
    for (int id : {1, 2, 4}) {
        ASSERT_TRUE(file->Import(id, p, error)) << error;
        ASSERT_TRUE(file->Export(p, id, strFolderNames{}, error)) << error;
    }
    EXPECT_EQ(file->Bytes(), original);
}

TEST_P(RubyDataFile, ListsEntries)
{
    auto file = Open(original);
    ASSERT_TRUE(file);
    std::string text;
    for (const strDataEntry& e : file->List())
        text += std::to_string(e.id) + " " + e.name + " " + std::to_string(e.frames) + " " + std::to_string(e.cells) +
                " " + std::to_string(e.timings) + (e.editable ? "" : " locked") + "\n";
    EXPECT_EQ(text, "1 Hit 2 3 2\n2 炎／ファイア 3 2 2\n4 Last 1 1 2\n5  0 0 0 locked\n");
}

TEST_P(RubyDataFile, EditChangesOnlyThatEntryAndKeepsWhatTheEditorCannotHold)
{
    auto file = Open(original);
    ASSERT_TRUE(file);
    cAnimeData p;
    std::string error;
    ASSERT_TRUE(file->Import(2, p, error)) << error;
    strCell c = *p.GetCell(0, 0);
    c.x = int16_t(c.x + 5);
    p.SetCell(0, 0, &c);
    ASSERT_TRUE(file->Export(p, 2, strFolderNames{}, error)) << error;
    // In the edited frame, the empty slot keeps the values it had.
    EXPECT_EQ(Compare(file->Bytes()), "canonical=true size=6\nchanged=2\nivars=true id=2\nframes=false,true,true\n"
                                      "frame0 cell0=false cell1=true\ntimings=true\nmemo=true\n");
    // Entries before it keep their bytes, and so do the ones after it here.
    const std::string now = file->Bytes();
    const size_t head = original.find("炎") != std::string::npos ? original.find("炎") : 0;
    EXPECT_EQ(now.substr(0, head), original.substr(0, head));
    const size_t tail = original.size() - original.find("Last");
    EXPECT_EQ(now.substr(now.size() - tail), original.substr(original.size() - tail));

    // More timings shift the object indices that entry 4's shared sound links to
    // (the first new one takes the place of the timing that does nothing).
    for (int frame : {1, 2}) {
        strEffect flash = FlashEffect(frame, 0, 5, 10, 20, 30, 200);
        flash.flags = EF_FLASH;
        AddEffect(p, flash);
    }
    ASSERT_TRUE(file->Export(p, 2, strFolderNames{}, error)) << error;
    const std::string report = Compare(file->Bytes());
    EXPECT_EQ(file->List()[1].timings, 3);
    EXPECT_NE(report.find("canonical=true size=6\nchanged=2\n"), std::string::npos) << report;
    EXPECT_NE(file->Bytes().substr(file->Bytes().size() - tail), original.substr(original.size() - tail));
}

TEST_P(RubyDataFile, ExportPastTheEndAppendsWithEmptySlots)
{
    auto file = Open(original);
    ASSERT_TRUE(file);
    cAnimeData p;
    std::string error;
    ASSERT_TRUE(file->Import(1, p, error)) << error;
    ASSERT_TRUE(file->Export(p, 8, strFolderNames{}, error)) << error;
    const std::string report = Compare(file->Bytes());
    EXPECT_NE(report.find("canonical=true size=9\nchanged=8\n"), std::string::npos) << report;
    const auto list = file->List();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list.back().id, 8);
    EXPECT_EQ(list.back().name, "Hit");

    // A slot that holds something else is not overwritten.
    const std::string before = file->Bytes();
    EXPECT_FALSE(file->Export(p, 5, strFolderNames{}, error));
    EXPECT_FALSE(file->Import(5, p, error));
    EXPECT_FALSE(file->Import(3, p, error));
    EXPECT_FALSE(file->Export(p, 0, strFolderNames{}, error));
    EXPECT_FALSE(file->Export(p, 100000, strFolderNames{}, error));
    EXPECT_EQ(file->Bytes(), before);
}

TEST_P(RubyDataFile, RefusesDamagedAndTruncatedData)
{
    std::string error;
    for (size_t n = 0; n < original.size(); ++n)
        EXPECT_FALSE(ParseDataFile(GetParam(), original.substr(0, n), error)) << n;
    EXPECT_NE(error.find("truncated at byte"), std::string::npos) << error;
    // Any byte changed: refused with a reason, or read and given back exactly; an
    // export into what was read still gives a file that reads.
    cAnimeData p;
    MakeProject(p, 2, "x");
    for (size_t i = 0; i < original.size(); ++i)
        for (int v : {0x00, 0x40, 0x7F, 0xFF}) {
            std::string damaged = original;
            damaged[i] = char(v);
            error.clear();
            auto file = ParseDataFile(GetParam(), damaged, error);
            if (!file) {
                EXPECT_FALSE(error.empty());
                continue;
            }
            EXPECT_EQ(file->Bytes(), damaged);
            file->List();
            if (file->Export(p, 2, strFolderNames{}, error)) {
                EXPECT_TRUE(ParseDataFile(GetParam(), file->Bytes(), error)) << error;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RubyDataFile, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(kindName(info.param)); });

// A file whose strings carry no encoding mark gets none from an export either.
TEST(RubyDataFilePlain, ExportKeepsTheFilesStringStyle)
{
    if (!HaveProgram("ruby"))
        GTEST_SKIP() << "ruby is not installed";
    const auto dir = TestFolder("rubydb_plain");
    int code = 0;
    const std::string out = RunScript(dir, "ruby", std::string(kRubyClasses) + kRubyGenerate,
                                      "vx-plain '" + (dir / "in.bin").string() + "'", code);
    ASSERT_EQ(code, 0) << out;
    std::string error;
    auto file = ParseDataFile(DATA_VX, ReadText(dir / "in.bin"), error);
    ASSERT_TRUE(file) << error;
    cAnimeData p;
    ASSERT_TRUE(file->Import(2, p, error)) << error;
    p.SetText(AT_NAME, "新しい名前");
    ASSERT_TRUE(file->Export(p, 2, strFolderNames{}, error)) << error;
    ASSERT_TRUE(file->Export(p, 6, strFolderNames{}, error)) << error;
    EXPECT_EQ(file->Bytes().find(":\x06E"), std::string::npos);
    EXPECT_EQ(file->List()[1].name, "新しい名前");
}

// Every type Marshal 4.8 has, as Ruby writes it, reads and writes back byte for byte.
TEST(MarshalTree, RubyDumpOfEveryTypeRoundTrips)
{
    if (!HaveProgram("ruby"))
        GTEST_SKIP() << "ruby is not installed";
    const auto dir = TestFolder("marshal_tree");
    const char* script = R"RB(
module Ext; end
class UStr < String; end
class UArr < Array; end
class UHash < Hash; end
S = Struct.new(:a, :b)
class UM; def initialize(v) @v = v end; def marshal_dump; [@v, 'x'] end; def marshal_load(a) @v = a[0] end; end
s = 'shared'
h = Hash.new(5); h[:k] = s
r = /re.x/m
e = 'ext'.dup; e.extend(Ext)
o = Object.new; o.extend(Ext); o.instance_variable_set(:@v, 1)
iv = [1]; iv.instance_variable_set(:@note, 'n')
v = [nil, true, false, 0, 122, -123, 2**31 - 1, -(2**31), 2**31, -(2**64), 1.5, -0.0, Float::NAN, 1e100, 'plain'.b,
     'utf ✓', 'sj'.encode('Shift_JIS'), s, s, :sym, :sym, :"シンボル", h, { 1 => 2 }, r, UStr.new('u'), UArr.new([1]),
     UHash.new, S.new(1, s), UM.new(7), e, o, iv, String, Kernel, Table.make(1, 1, [3]), [s, h, r]]
File.binwrite(ARGV[0], Marshal.dump(v))
)RB";
    int code = 0;
    const std::string out =
        RunScript(dir, "ruby", std::string(kRubyClasses) + script, "'" + (dir / "v.bin").string() + "'", code);
    ASSERT_EQ(code, 0) << out;
    const std::string bytes = ReadText(dir / "v.bin");
    cMarshalPool pool;
    cMarshalReader r(bytes, pool);
    const strMarshalNode* root = r.ReadVersion() ? r.ReadValue() : nullptr;
    ASSERT_TRUE(root) << r.Error();
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(root->items[18]->type, T_LINK);
    EXPECT_TRUE(MarshalEqual(*root->items[17], *root->items[18]));
    cMarshalWriter w;
    w.WriteVersion();
    ASSERT_TRUE(w.Write(*root));
    EXPECT_EQ(w.Bytes(), bytes);
}

// The editor's clipboard data defines the sound's @name a second time; that stays.
TEST(MarshalTree, KeepsRedefinedSymbols)
{
    cAnimeData p;
    MakeProject(p, 1, "x");
    AddEffect(p, FlashEffect(0, 0, 5, 10, 20, 30, 200));
    Cclip_stream block;
    ASSERT_TRUE(WriteRubyAnimation(p, RUBY_VXACE, strFolderNames{}, block));
    const std::string bytes(reinterpret_cast<const char*>(block.Data()) + 4, block.Size() - 4);
    cMarshalPool pool;
    cMarshalReader r(bytes, pool);
    const strMarshalNode* root = r.ReadVersion() ? r.ReadValue() : nullptr;
    ASSERT_TRUE(root) << r.Error();
    cMarshalWriter w;
    w.WriteVersion();
    ASSERT_TRUE(w.Write(*root));
    EXPECT_EQ(w.Bytes(), bytes);
}

TEST(MarshalTree, RefusesDeepNestingAndBadData)
{
    using namespace std::string_literals;
    std::string nested = "\x04\x08";
    for (int i = 0; i < 300; ++i)
        nested += "[\x06";
    nested += '0';
    std::string symbols = "\x04\x08";
    for (int i = 0; i < 300; ++i)
        symbols += "I:\x06"
                   "a\x06"; // a symbol whose first ivar name is the next symbol
    const std::pair<std::string, const char*> cases[] = {
        {nested, "nested too deeply"},
        {symbols, "nested too deeply"},
        {"\x04\x08@\x00"s, "bad link at byte 2"},
        {"\x04\x08[\x06;\x00"s, "bad link at byte 4"},
        {"\x04\x08Ii\x06\x00"s, "instance variables on an immediate value"},
        {"\x04\x08X"s, "unknown type byte 0x58 at byte 2"},
        {"\x04\x08\"\x7F"s, "truncated"},
        {"\x04\x09["s, "not Ruby Marshal 4.8 data at byte 0"},
    };
    for (const auto& [bytes, reason] : cases) {
        cMarshalPool pool;
        cMarshalReader r(bytes, pool);
        EXPECT_FALSE(r.ReadVersion() && r.ReadValue()) << reason;
        EXPECT_NE(r.Error().find(reason), std::string::npos) << r.Error();
    }
}

} // namespace
