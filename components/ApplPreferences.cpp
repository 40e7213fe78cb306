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
    ShadowFiler filer(file);
    const FolderItemPtr target = filer.RefShadowFile();
    if (!target) {
        return;
    }
    const auto out = TextOutputStream::Create(*target);
    if (!out) {
        return;  // nothing written; the old file stays as it was
    }
    bool written = out->Write(kMarker) && out->Write(ItsData);
    written = out->Close() && written;
    target->SetMacCreator(FileCreator);
    target->SetMacType(kFileType);
    if (!written) {
        // A shadow cut short by a full disk must never take the old file's place.
        filer.Abort();
        return;
    }
    filer.CleanUp();
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
        if (IsOurs(*file)) {
            return file;
        }
        RuntimeBackgroundTask();
    }
}

bool ApplPreferences::IsOurs(const FolderItem& item) const {
    if (item.Directory()) {
        return false;
    }
    // Where the file system keeps no type or creator, every file would look foreign, and each run
    // would pass over the last run's file to write a new one under the next number. There a file
    // under the name counts as ours, and the marker alone decides whether it holds data.
    if (!item.MacAttributesSupported()) {
        return true;
    }
    return item.MacCreator() == FileCreator && item.MacType() == kFileType;
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
