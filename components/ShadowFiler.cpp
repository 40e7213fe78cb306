#include "ShadowFiler.h"

#include <cerrno>

#include "ByteString.h"
#include "ExchangeFiles.h"
#include "RuntimeBackgroundTask.h"

namespace {
// The stem and six digits: a name this filer gives the shadows of the base with that stem.
bool IsShadowName(const std::string& name, const std::string& stem) {
    return name.size() == stem.size() + 6 && name.compare(0, stem.size(), stem) == 0 &&
           name.find_first_not_of("0123456789", stem.size()) == std::string::npos;
}
}  // namespace

ShadowFiler::ShadowFiler(FolderItemPtr base) {
    if (!base || base->Directory()) {
        return;
    }
    ItsBaseFile = base->LinkTarget();
    const FolderItemPtr folder = ItsBaseFile->TemporaryFolder();
    if (!folder) {
        ItsStatus = kStatusNoTemporaryFolder;
        return;
    }
    MakeShadow(*folder);
}

std::string ShadowFiler::ShadowStem(std::string name) {
    // Whole characters only: half of a UTF-8 sequence would make a name no tool can show.
    while (LenB(name) > kShadowStemBytes) {
        name = Left(name, Len(name) - 1);
        RuntimeBackgroundTask();
    }
    return name;
}

void ShadowFiler::MakeShadow(const FolderItem& folder) {
    const std::string stem = ShadowStem(ItsBaseFile->Name());
    // A name is tried by making the file under it: a look first and a create after would let
    // another copy make the same name in between, and the two would write one file. The limit is
    // looked at only for a taken name, so the last candidate is kLastShadowNumber.
    std::int32_t k = 0;
    bool taken = false;
    do {
        ++k;
        ItsShadowFile = folder.Child(stem + Format(k, "000000"));
        ItsShadowOutput = TextOutputStream::CreateNew(*ItsShadowFile);
        taken = !ItsShadowOutput && errno == EEXIST;
        RuntimeBackgroundTask();
    } while (taken && k < kLastShadowNumber);

    if (ItsShadowOutput) {
        IsShadowAvail = true;
        ItsStatus = kStatusShadowReady;
        return;
    }
    ItsShadowFile.reset();
    if (taken) {
        ItsStatus = kStatusNoFreeShadowName;
        return;
    }
    // Where no shadow can be made, writing the base in place could leave it cut short.
    ItsBaseFile.reset();
    ItsStatus = kStatusShadowRefused;
}

FolderItemPtr ShadowFiler::RefShadowFile() const {
    return IsShadowAvail ? ItsShadowFile : ItsBaseFile;
}

std::unique_ptr<TextOutputStream> ShadowFiler::CreateOutput() const {
    if (IsShadowAvail) {
        return ItsShadowOutput->Duplicate();
    }
    return ItsBaseFile ? TextOutputStream::Create(*ItsBaseFile) : nullptr;
}

void ShadowFiler::CleanUp() {
    // Without a shadow the caller has written the base in place: nothing is left to do.
    if (IsShadowAvail && PutShadowInPlace()) {
        RemoveLeftovers();
    }
    Release(kStatusCleanedUp);
}

bool ShadowFiler::PutShadowInPlace() {
    // Should ours have been removed (by another copy, as an old leftover) and its name taken
    // again, what stands there now is somebody else's to place or throw away.
    if (!ItsShadowOutput->IsFileAt(*ItsShadowFile)) {
        return false;
    }
    // The shadow's bytes must be on the disk before its name stands for the file; after a power
    // cut a renamed but unwritten shadow would leave an empty file there. One that was never
    // written or can't be flushed is thrown away and the old file kept.
    if (ItsShadowOutput->Length() <= 0 || !ItsShadowOutput->Sync()) {
        ItsShadowFile->Delete();
        return false;
    }
    bool placed = true;
    if (ItsBaseFile->Exists() && TbExchangeFiles(*ItsBaseFile, *ItsShadowFile)) {
        ItsShadowFile->Delete();  // it holds the old contents now
    } else {
        // One rename replaces the base, if there is one: at no moment is the name without a
        // whole file, as it would be between deleting the base and moving the shadow.
        placed = ItsShadowFile->MoveFileTo(*ItsBaseFile);
    }
    if (const FolderItemPtr folder = ItsBaseFile->Parent()) {
        folder->Sync();
    }
    return placed;
}

void ShadowFiler::RemoveLeftovers() const {
    const FolderItemPtr folder = ItsBaseFile->TemporaryFolder();
    if (!folder) {
        return;
    }
    const std::string stem = ShadowStem(ItsBaseFile->Name());
    for (const std::string& name : folder->ChildNames()) {
        RuntimeBackgroundTask();
        const FolderItemPtr item = IsShadowName(name, stem) ? folder->Child(name) : nullptr;
        if (!item || item->SymbolicLink() || item->Directory()) {
            continue;
        }
        const auto age = item->SecondsSinceModified();
        if (age && *age >= kLeftoverQuietSeconds && IsOwnLeftover(*item)) {
            item->Delete();
        }
    }
}

void ShadowFiler::Abort() {
    if (IsShadowAvail && ItsShadowOutput->IsFileAt(*ItsShadowFile)) {
        ItsShadowFile->Delete();
    }
    Release(kStatusAborted);
}

bool ShadowFiler::TbExchangeFiles(const FolderItem& a, const FolderItem& b) {
    return ExchangeFiles(a, b);
}

void ShadowFiler::Release(std::int32_t status) {
    ItsBaseFile.reset();
    ItsShadowFile.reset();
    ItsShadowOutput.reset();
    IsShadowAvail = false;
    ItsStatus = status;
}
