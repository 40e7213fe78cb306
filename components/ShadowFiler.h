#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "FolderItem.h"
#include "TextOutputStream.h"

// Replaces a file's contents without touching the old ones until the new ones are complete: the
// filer makes a shadow file under a free name beside the base file, the caller writes it, and
// `CleanUp` then puts the shadow in the base's place in one step. Without a shadow the caller
// writes the base in place. One object serves one replacement.
class ShadowFiler {
public:
    // ShadowFilerStatus, read with RefStatus.
    static constexpr std::int32_t kStatusBaseIsFolder = 0;
    static constexpr std::int32_t kStatusShadowReady = 1;
    // Kept for the status table's sake: our exchange needs no buffers, so this never arises.
    static constexpr std::int32_t kStatusNoExchangeBuffers = -1;
    static constexpr std::int32_t kStatusNoTemporaryFolder = -2;
    static constexpr std::int32_t kStatusNoFreeShadowName = -3;
    // The folder would not take a shadow (not writable, full): nothing to write, the base stays.
    static constexpr std::int32_t kStatusShadowRefused = -4;
    static constexpr std::int32_t kStatusCleanedUp = 2;
    static constexpr std::int32_t kStatusAborted = 3;

    // Longest stem of a shadow name in bytes; with the six counter digits a name stays within 31.
    static constexpr std::int32_t kShadowStemBytes = 25;
    // The counter runs from 1; a taken name is passed over up to this one, the last tried.
    static constexpr std::int32_t kLastShadowNumber = 900001;
    // A leftover shadow modified this recently (s) may be another running copy's save under way.
    static constexpr std::int64_t kLeftoverQuietSeconds = 60;

    // Makes the shadow, empty and readable and writable by its owner alone, under the first free
    // name: the name is taken by making the file, so that two copies saving at once never share
    // one. A missing (null) base is taken like a folder: no base file, no shadow. A base that is a
    // symbolic link stands for the file it leads to: that file is replaced, beside it, and the
    // link stays.
    explicit ShadowFiler(FolderItemPtr base);
    virtual ~ShadowFiler() = default;
    ShadowFiler(const ShadowFiler&) = delete;
    ShadowFiler& operator=(const ShadowFiler&) = delete;

    std::string VersionInfo() const { return "2011-11-25,1"; }
    // The file to write: the shadow when there is one, else the base file (nothing for a folder
    // base, when the folder refused the shadow, and after CleanUp or Abort).
    FolderItemPtr RefShadowFile() const;
    // A stream that writes that file: the shadow this filer made, or the base, made or emptied.
    // Nothing when there is no file to write or it can't be opened.
    std::unique_ptr<TextOutputStream> CreateOutput() const;
    bool RefShadowAvail() const { return IsShadowAvail; }
    // Puts the written shadow in the base's place, then lets go of both. Only the file this filer
    // made goes there, and only with bytes in it: an empty one is thrown away, and an item that
    // has taken its name since (another copy's) is left to its owner. Once the shadow is in
    // place, leftovers of earlier replacements that IsOwnLeftover claims are removed.
    void CleanUp();
    // Throws the shadow away, then lets go of both.
    void Abort();
    std::int32_t RefStatus() const { return ItsStatus; }

protected:
    // Swaps the contents of a and b; True on success.
    virtual bool TbExchangeFiles(const FolderItem& a, const FolderItem& b);
    // Whether a leftover shadow of an interrupted replacement is the caller's to remove. The filer
    // can't tell whose a file is, so by itself it removes none.
    virtual bool IsOwnLeftover(const FolderItem& /*leftover*/) const { return false; }

    FolderItemPtr ItsBaseFile;
    FolderItemPtr ItsShadowFile;
    bool IsShadowAvail = false;
    std::int32_t ItsStatus = kStatusBaseIsFolder;

private:
    // Held open from the making of the shadow to the end: the file flushed and put in place is
    // the one this filer made, whatever its name holds by then.
    std::unique_ptr<TextOutputStream> ItsShadowOutput;

    static std::string ShadowStem(std::string name);
    void MakeShadow(const FolderItem& folder);
    bool PutShadowInPlace();
    void RemoveLeftovers() const;
    void Release(std::int32_t status);
};
