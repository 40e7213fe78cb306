#include "ApplPreferences.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "ByteString.h"
#include "RuntimeBackgroundTask.h"
#include "ShadowFiler.h"
#include "SpecialFolder.h"
#include "TextInputStream.h"
#include "TextOutputStream.h"

namespace {
// Val gives a Double; a part can hold text such as "inf" or "nan", or more digits than fit.
std::int32_t ToInt32(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    const double clamped =
        std::clamp(std::trunc(value), double(std::numeric_limits<std::int32_t>::min()),
                   double(std::numeric_limits<std::int32_t>::max()));
    return static_cast<std::int32_t>(clamped);
}

std::int32_t HexPair(const std::string& pair) {
    return ToInt32(Val("&H" + pair));
}

std::string HexPair(std::uint32_t component) {
    return RightB("00" + Hex(component & 255), 2);
}

// The bytes a saved data string can hold where no attributes mark the file: digits (records,
// defaults, flags), letters (sound codes A to I, colours' hexadecimal digits) and the line end an
// editor may add. Data read from such a file and changed only by those writes keeps to them, so
// every file the game saves there, extra bytes and all, is found again. A text or binary file
// that merely starts with "00" has other bytes.
bool IsSettingsByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           c == '\r' || c == '\n';
}

// Where no item can carry our kind, only the contents can tell our file from another's: the
// marker, at least one more byte, all settings bytes, and no longer than a file we would read.
bool HoldsSettings(const FolderItem& item) {
    const auto in = TextInputStream::Open(item);
    if (!in) {
        return false;
    }
    const std::string bytes = in->Read(ApplPreferences::kLongestFile + 1);
    return !in->ReadError() && LenB(bytes) >= 3 && LenB(bytes) <= ApplPreferences::kLongestFile &&
           LeftB(bytes, 2) == ApplPreferences::kMarker &&
           std::all_of(bytes.begin() + 2, bytes.end(), IsSettingsByte);
}

// We would read it as holding nothing, and then save the defaults over whatever it holds.
bool TooLongToBeOurs(const FolderItem& item) {
    const auto in = TextInputStream::Open(item);
    return in && LenB(in->Read(ApplPreferences::kLongestFile + 1)) > ApplPreferences::kLongestFile;
}

bool IsPrefsFile(const FolderItem& item, const std::string& creator) {
    if (item.Directory()) {
        return false;
    }
    if (!item.MacAttributesSupported()) {
        return HoldsSettings(item);
    }
    return item.MacCreator() == creator && item.MacType() == ApplPreferences::kFileType &&
           !TooLongToBeOurs(item);
}

bool IsEmptyFile(const FolderItem& item) {
    const auto in = TextInputStream::Open(item);
    return in && in->Read(1).empty() && !in->ReadError();
}

// Leftovers of our own interrupted saves are known by the same marks as the file itself.
class PrefsShadowFiler final : public ShadowFiler {
public:
    PrefsShadowFiler(FolderItemPtr base, std::string creator)
        : ShadowFiler(std::move(base)), creator_(std::move(creator)) {}

protected:
    // An empty one holds nothing anyone could lose: a save stopped between making its shadow and
    // marking it leaves one, unmarked.
    bool IsOwnLeftover(const FolderItem& leftover) const override {
        return IsEmptyFile(leftover) || IsPrefsFile(leftover, creator_);
    }

private:
    std::string creator_;
};
}  // namespace

ApplPreferences::ApplPreferences(std::string fileName, std::string creator)
    : FileName(std::move(fileName)), FileCreator(std::move(creator)) {}

void ApplPreferences::Save() {
    if (StrComp(ItsData, SavedData, 0) != 0 || SaveMode > 0) {
        MacSave();
    }
}

void ApplPreferences::Restore() {
    ItsData = "";
    MacRestore();
    SavedData = ItsData;
}

void ApplPreferences::MacRestore() {
    ItsData = "";
    const FolderItemPtr file = MacFileMake(false);
    if (!file) {
        return;
    }
    const auto in = TextInputStream::Open(*file);
    if (!in) {
        return;
    }
    const std::string bytes = in->Read(kLongestFile + 1);
    const bool whole = !in->ReadError() && LenB(bytes) <= kLongestFile;
    in->Close();
    if (whole && LenB(bytes) >= 3 && LeftB(bytes, 2) == kMarker) {
        ItsData = MidB(bytes, 3);
    }
}

void ApplPreferences::MacSave() {
    const FolderItemPtr file = MacFileMake(true);
    if (!file) {
        return;
    }
    PrefsShadowFiler filer(file, FileCreator);
    const FolderItemPtr target = filer.RefShadowFile();
    const auto out = filer.CreateOutput();
    // The shadow is marked before any data goes in: a save stopped at any later moment leaves a
    // leftover known as ours, which a later save removes. One without our kind, which the next
    // start would take for another program's file, never takes the old file's place.
    if (!out || !MarkAsOurs(*target)) {
        filer.Abort();  // nothing written; the old file stays as it was, and no empty shadow
        return;
    }
    // In one write, so that a save stopped midway leaves an empty shadow or a whole one. Close
    // tells whether every byte reached the file.
    out->Write(kMarker + ItsData);
    if (!out->Close()) {
        filer.Abort();  // cut short by a full disk: it must never take the old file's place
        return;
    }
    // A replacement keeps the mode the user gave the old file, given last: its owner may not
    // give attributes to a file that is read-only to them. Where the file system keeps no modes
    // (vfat) the file is saved all the same.
    const int mode = file->Permissions();
    target->SetPermissions(mode >= 0 ? mode : kFirstFileMode);
    filer.CleanUp();
}

bool ApplPreferences::MarkAsOurs(const FolderItem& target) const {
    if (target.SetMacCreator(FileCreator) && target.SetMacType(kFileType)) {
        return true;
    }
    // Where the file system refuses attributes altogether, the contents alone tell our file.
    return !target.MacAttributesSupported();
}

FolderItemPtr ApplPreferences::MacFileMake(bool create) {
    const FolderItemPtr folder = SpecialFolder::Preferences();
    if (!folder) {
        return nullptr;
    }
    for (std::int64_t n = 0;; ++n) {
        const FolderItemPtr file =
            folder->Child(n == 0 ? FileName : FileName + "_" + Str(static_cast<double>(n)));
        if (!file) {
            return nullptr;
        }
        if (!file->Exists()) {
            return create ? file : nullptr;
        }
        if (IsPrefsFile(*file, FileCreator)) {
            return file;
        }
        RuntimeBackgroundTask();
    }
}

std::string ApplPreferences::GetPartData(std::int32_t pos, std::int32_t len) const {
    return MidB(ItsData, pos, len);
}

void ApplPreferences::SetPartData(const std::string& part, std::int32_t pos) {
    // A position before the first byte is never passed by the program; ignoring it keeps the
    // rule that a part never lengthens the data.
    if (pos < 1 || std::int64_t{pos} - 1 + LenB(part) > LenB(ItsData)) {
        return;
    }
    ItsData = MidB(ItsData, 1, pos - 1) + part + MidB(ItsData, pos + LenB(part));
}

bool ApplPreferences::DefaultData(const std::string& templateData) {
    const std::int32_t length = LenB(ItsData);
    if (length >= LenB(templateData)) {
        return false;
    }
    ItsData += MidB(templateData, length + 1);
    return true;
}

void ApplPreferences::SetPartInteger(std::int32_t value, std::int32_t pos, std::int32_t width) {
    SetPartData(RightB(Format(value, "0000000000"), width), pos);
}

std::int32_t ApplPreferences::GetPartInteger(std::int32_t pos, std::int32_t width) const {
    return ToInt32(Val(GetPartData(pos, width)));
}

void ApplPreferences::SetPartBoolean(bool value, std::int32_t pos) {
    SetPartData(value ? "1" : "0", pos);
}

bool ApplPreferences::GetPartBoolean(std::int32_t pos) const {
    return GetPartData(pos, 1) != "0";
}

std::string ApplPreferences::GetTailData(std::int32_t pos) const {
    return MidB(ItsData, pos);
}

void ApplPreferences::SetTailData(const std::string& tail, std::int32_t pos) {
    if (pos < 1 || pos - 1 > LenB(ItsData)) {
        return;
    }
    ItsData = MidB(ItsData, 1, pos - 1) + tail;
}

std::uint32_t ApplPreferences::GetPartColor(std::int32_t pos) const {
    const std::string part = GetPartData(pos, 6);
    if (LenB(part) < 6) {
        return 0x000000;
    }
    const auto component = [&](std::int32_t at) {
        return static_cast<std::uint32_t>(std::clamp(HexPair(MidB(part, at, 2)), 0, 255));
    };
    return component(1) << 16 | component(3) << 8 | component(5);
}

void ApplPreferences::SetPartColor(std::uint32_t color, std::int32_t pos) {
    SetPartData(HexPair(color >> 16) + HexPair(color >> 8) + HexPair(color), pos);
}
