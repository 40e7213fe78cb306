#pragma once

#include <cstdint>
#include <string>

#include "FolderItem.h"

// All of the application's settings as one byte string, kept in a preferences file: read once at
// start (Restore) and written back at quit (Save) through a shadow file, only when it changed.
// Between the two, callers read and overwrite pieces of it by 1-based byte position and width.
//
// The file: the two bytes "00", then the data string byte for byte, nothing else. It lives in the
// user's preferences folder under FileName, or FileName + "_1", "_2", ... when that name holds
// an item of another kind; its kind is the type "PREF" with the creator FileCreator, and it is
// no longer than kLongestFile. Where the file system keeps no type or creator, a file is ours only
// when its contents could be a saved data string.
class ApplPreferences {
public:
    ApplPreferences(std::string fileName, std::string creator);
    virtual ~ApplPreferences() = default;

    void Save();
    void Restore();
    void SetData(const std::string& data) { ItsData = data; }
    std::string GetData() const { return ItsData; }
    std::string VersionInfo() const { return "2011-12-04,1"; }
    // Fewer bytes when the data ends first; "" past the end.
    std::string GetPartData(std::int32_t pos, std::int32_t len) const;
    // Overwrites bytes from pos; a part that would run past the end is dropped whole.
    void SetPartData(const std::string& part, std::int32_t pos);
    // Appends the template's bytes beyond the data's length; True when it did. The bytes already
    // there are never looked at.
    bool DefaultData(const std::string& templateData);
    // The rightmost `width` digits of the value's ten-digit zero-padded form.
    void SetPartInteger(std::int32_t value, std::int32_t pos, std::int32_t width);
    // 0 for a part that holds no number.
    std::int32_t GetPartInteger(std::int32_t pos, std::int32_t width) const;
    void SetPartBoolean(bool value, std::int32_t pos);
    // False only for the byte "0".
    bool GetPartBoolean(std::int32_t pos) const;
    std::string GetTailData(std::int32_t pos) const;
    // Replaces everything from pos on; pos one past the end appends.
    void SetTailData(const std::string& tail, std::int32_t pos);
    // Six hexadecimal digits RRGGBB as a 24-bit colour 0xRRGGBB; black when fewer than six bytes.
    std::uint32_t GetPartColor(std::int32_t pos) const;
    void SetPartColor(std::uint32_t color, std::int32_t pos);
    // Above 0, Save writes even unchanged data.
    void SetSaveMode(std::int32_t mode) { SaveMode = mode; }

    // The file's two leading bytes.
    static constexpr const char* kMarker = "00";
    static constexpr const char* kFileType = "PREF";
    // A longer file is no settings file of ours, whatever its kind: the name search passes it
    // over, and it is never loaded whole into memory.
    static constexpr std::int32_t kLongestFile = 1 << 20;

protected:
    virtual void MacRestore();
    virtual void MacSave();
    // The name search: the file under the first of FileName, FileName_1, ... that is either free
    // or a file of ours (a symbolic link counts by what it leads to). A free name is returned only
    // when `create` is True. Nothing creates the file here.
    virtual FolderItemPtr MacFileMake(bool create);
    virtual FolderItemPtr WinFileMake(bool /*create*/) { return nullptr; }
    virtual void WinSave() {}
    virtual void WinRestore() {}

    std::string FileName;
    std::string FileCreator;
    std::string ItsData;
    std::string SavedData;
    std::int32_t SaveMode = 0;

private:
    // A first file is the user's alone, like the preferences folder.
    static constexpr int kFirstFileMode = 0600;

    // Gives the file our type and creator; False when that failed where attributes are kept.
    bool MarkAsOurs(const FolderItem& target) const;
};
