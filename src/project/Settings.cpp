#include "project/Settings.h"

#include "platform/CodePage.h"
#include "project/IniFile.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>
#include <variant>

namespace {

enum class Kind { Bool, Int, UInt, Byte, Text };

// The field of a key; the alternatives are in the order of Kind.
using Member = std::variant<bool cSettings::*, int32_t cSettings::*, uint32_t cSettings::*, uint8_t cSettings::*,
                            std::string cSettings::*>;

struct Key {
    const char* name;
    Member member;
    size_t buffer; // profile-function buffer size used when reading
    Kind ValueKind() const { return Kind(member.index()); }
};

// The field's type gives the kind; the letter gives the read buffer.
#define MEVKO_KEY(field, buffer)                                                                                       \
    Key { #field, &cSettings::field, buffer }
#define B(f) MEVKO_KEY(f, 8)
#define I(f) MEVKO_KEY(f, 16)
#define U(f) MEVKO_KEY(f, 16)
#define Y(f) MEVKO_KEY(f, 16)
#define T(f) MEVKO_KEY(f, 512)
#define P(f) MEVKO_KEY(f, 4096) // paths: long names fit

const Key kKeys[] = {
    T(Locale),
    P(LastLoadPath),
    T(FolderName_C),
    P(FolderName_G),
    P(FolderName_S),
    I(MainWinPostX),
    I(MainWinPostY),
    I(MainWinSizeX),
    I(MainWinSizeY),
    I(ListWinPostX),
    I(ListWinPostY),
    I(ListWinSizeX),
    I(ListWinSizeY),
    I(PalWinPostX),
    I(PalWinPostY),
    I(PalWinSizeX),
    I(PalWinSizeY),
    I(CellWinPostX),
    I(CellWinPostY),
    B(VListFlag),
    B(VPalFlag),
    B(VBarFlag),
    B(VStatusFlag),
    B(VToolFlag),
    B(VNextFlag),
    B(VBackFlag),
    B(VNowFlag),
    B(VShadowFlag),
    B(VGridFlag),
    B(VLocusFlag),
    B(VTargetFlag),
    B(VGifFlag),
    B(VCenterFlag),
    B(VLineFlag),
    B(VerticalFlag),
    I(CenterW),
    I(CenterH),
    I(GridSize),
    U(GridBit),
    I(PostGrid),
    I(ScaleGrid),
    I(AngleGrid),
    B(NewFrameFlag),
    B(BackUpFlag),
    I(TransType),
    I(CompType),
    I(Undo),
    I(Locus),
    I(DragAKey),
    I(DragSKey),
    U(PlayBit),
    I(PlayRate),
    U(CGround),
    U(CGrid),
    U(CBackShadow),
    U(CNextShadow),
    U(CCenterLine),
    U(CTrans),
    B(Init_FixFlag),
    Y(Init_Center),
    Y(Init_Div),
    Y(Init_Edit),
    I(Init_Format),
    I(Init_Int),
    I(Init_Cell),
    I(Init_CutX),
    I(Init_CutY),
    MEVKO_KEY(Init_FileName, 260),
    I(TargetPostX),
    I(TargetPostY),
    I(TargetOpacity),
    P(TargetPath),
    I(GIFKey),
    I(GIFSpeed),
    P(GIFPath),
    I(OnionFrames),
    I(TimelineHeight),
    B(MainWinMaxFlag),
    I(AutoSaveInterval),
    T(Language),
    B(GameDataBackUpFlag),
};

template <class T> T& field(cSettings& s, const Key& k) { return s.*std::get<T cSettings::*>(k.member); }
template <class T> const T& field(const cSettings& s, const Key& k) { return s.*std::get<T cSettings::*>(k.member); }

// Signed decimal as the C runtime reads it: optional blanks and sign, digits up to
// the first other character, 0 when there are none; clamped to the 32-bit range.
int32_t parseInt(const std::string& s)
{
    const long long v = std::strtoll(s.c_str(), nullptr, 10);
    return int32_t(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

uint32_t parseUInt(const std::string& s)
{
    // strtoul semantics: a leading minus negates modulo 2^32.
    const unsigned long long v = std::strtoull(s.c_str(), nullptr, 10);
    return uint32_t(v > UINT32_MAX && s.find('-') == std::string::npos ? UINT32_MAX : v);
}

std::string valueText(const cSettings& s, const Key& k)
{
    switch (k.ValueKind()) {
    case Kind::Bool: return field<bool>(s, k) ? "1" : "0";
    case Kind::Int: return std::to_string(field<int32_t>(s, k));
    case Kind::UInt: return std::to_string(field<uint32_t>(s, k));
    case Kind::Byte: return std::to_string(unsigned(field<uint8_t>(s, k)));
    case Kind::Text: return field<std::string>(s, k);
    }
    return {};
}

const char* const kSection = "CONFIG";

} // namespace

strProjectDefaults cSettings::ProjectDefaults() const
{
    strProjectDefaults d;
    d.cellCount = Init_Cell;
    d.baseInterval = Init_Int;
    d.centerPosition = Init_Center;
    d.divisionFormat = Init_Div;
    d.fixPicturePerCell = Init_FixFlag;
    d.editFormat = Init_Edit;
    d.saveFormat = Init_Format;
    d.fileName = Init_FileName;
    return d;
}

strFolderNames cSettings::FolderNames() const { return {FolderName_G, FolderName_S}; }

void cSettings::SetDefaults()
{
    Locale = "jpn";
    LastLoadPath.clear();
    FolderName_C = "Data";
    FolderName_G = "BattleEffect";
    FolderName_S = "Sound";
    MainWinPostX = 32;
    MainWinPostY = 32;
    MainWinSizeX = 640;
    MainWinSizeY = 480;
    ListWinPostX = 672;
    ListWinPostY = 32;
    ListWinSizeX = 250;
    ListWinSizeY = 300;
    PalWinPostX = 672;
    PalWinPostY = 332;
    PalWinSizeX = 250;
    PalWinSizeY = 348;
    CellWinPostX = 92;
    CellWinPostY = 512;
    VListFlag = VPalFlag = VBarFlag = VStatusFlag = VToolFlag = true;
    VNextFlag = VBackFlag = VNowFlag = VShadowFlag = VGridFlag = VLocusFlag = VTargetFlag = VGifFlag = VCenterFlag =
        VLineFlag = true;
    VerticalFlag = false;
    CenterW = 640;
    CenterH = 480;
    GridSize = 32;
    GridBit = 7;
    PostGrid = 4;
    ScaleGrid = 10;
    AngleGrid = 10;
    NewFrameFlag = true;
    BackUpFlag = false;
    TransType = 4;
    CompType = 0;
    Undo = 32;
    Locus = 10;
    DragAKey = 65;
    DragSKey = 83;
    PlayBit = 416;
    PlayRate = 0;
    CGround = 0x00101010;
    CGrid = 0x00404040;
    CBackShadow = 0x880000FF;
    CNextShadow = 0x8800FF00;
    CCenterLine = 0x8888FF88;
    CTrans = 0;
    Init_FixFlag = true;
    Init_Center = 0;
    Init_Div = 0;
    Init_Edit = 2;
    Init_Format = 1;
    Init_Int = 1;
    Init_Cell = 16;
    Init_CutX = 5;
    Init_CutY = 5;
    Init_FileName = "newfile.txt";
    TargetPostX = 0;
    TargetPostY = 0;
    TargetOpacity = 255;
    TargetPath.clear();
    GIFKey = 71;
    GIFSpeed = 100;
    GIFPath.clear();
    OnionFrames = 1;
    TimelineHeight = 150;
    MainWinMaxFlag = false;
    AutoSaveInterval = 60;
    Language.clear();
    GameDataBackUpFlag = true;
}

bool cSettings::ReadSettings(const std::filesystem::path& file)
{
    project::cIniFile ini;
    const bool ok = ini.Load(file);
    ReadSettings(ini);
    return ok;
}

void cSettings::ReadSettings(const project::cIniFile& ini)
{
    for (const Key& k : kKeys) {
        const std::string v = ini.GetString(kSection, k.name, "!", k.buffer);
        if (!v.empty() && v[0] == '!')
            continue;
        switch (k.ValueKind()) {
        case Kind::Bool: field<bool>(*this, k) = v.empty() || v[0] != '0'; break;
        case Kind::Int: field<int32_t>(*this, k) = parseInt(v); break;
        case Kind::UInt: field<uint32_t>(*this, k) = parseUInt(v); break;
        case Kind::Byte: field<uint8_t>(*this, k) = uint8_t(parseInt(v)); break;
        case Kind::Text: field<std::string>(*this, k) = v; break;
        }
    }
    // Texts are UTF-8; a file written in the ANSI code page by an older version is decoded.
    platform::SetLocale(Locale);
    for (const Key& k : kKeys)
        if (k.ValueKind() == Kind::Text) {
            std::string& text = field<std::string>(*this, k);
            if (!platform::IsUtf8(text))
                text = platform::DecodeText(text, platform::AnsiCodePage());
        }
}

bool cSettings::WriteSettings(const std::filesystem::path& file, std::string* error) const
{
    project::cIniFile ini;
    ini.Load(file);
    for (const Key& k : kKeys)
        ini.SetString(kSection, k.name, valueText(*this, k));
    return ini.Save(file, error);
}

std::vector<std::pair<std::string, std::string>> cSettings::Entries() const
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const Key& k : kKeys)
        out.emplace_back(k.name, valueText(*this, k));
    return out;
}

cSettings& Settings()
{
    static cSettings settings;
    return settings;
}

std::filesystem::path ExecutableFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec);
    return exe.parent_path();
}

namespace {
std::filesystem::path xdgFolder(const char* var, const char* fallback)
{
    if (const char* v = std::getenv(var); v && *v)
        return std::filesystem::path(v) / "mevko";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / fallback / "mevko";
}

// The executable's folder holds the program's files when it is writable and not an
// installation (PREFIX/bin beside PREFIX/share/doc/mevko): root may write to /usr/bin,
// yet an installed program keeps its files in the user's folders.
bool ownFolder(const std::filesystem::path& dir)
{
    std::error_code ec;
    if (std::filesystem::is_directory(dir.parent_path() / "share" / "doc" / "mevko", ec))
        return false;
    return ::access(dir.c_str(), W_OK) == 0;
}
} // namespace

std::filesystem::path DefaultConfigPath()
{
    const auto exeDir = ExecutableFolder();
    if (ownFolder(exeDir))
        return exeDir / "config.ini";
    return xdgFolder("XDG_CONFIG_HOME", ".config") / "config.ini";
}

std::filesystem::path ApplicationDataFolder()
{
    const auto exeDir = ExecutableFolder();
    if (ownFolder(exeDir))
        return exeDir;
    return xdgFolder("XDG_DATA_HOME", ".local/share");
}
