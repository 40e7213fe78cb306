#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FolderItem;
using FolderItemPtr = std::shared_ptr<FolderItem>;

// A reference to an item of the file system by its path. The item need not exist: a reference to
// a free name is how a new file is made.
//
// A file's Mac type and creator codes are kept as extended attributes in the user namespace:
// kTypeAttribute and kCreatorAttribute, each holding the four code bytes.
class FolderItem {
public:
    static constexpr const char* kTypeAttribute = "user.org.quillmoor.tembrolo.type";
    static constexpr const char* kCreatorAttribute = "user.org.quillmoor.tembrolo.creator";

    explicit FolderItem(std::string path);

    const std::string& ShellPath() const { return path_; }
    // The last part of the path.
    std::string Name() const;

    // The item `name` inside this folder, existing or not. Nothing for a name that is not one
    // plain part of a path ("", ".", "..", or one holding '/' or a NUL byte).
    FolderItemPtr Child(const std::string& name) const;
    // Nothing for the root.
    FolderItemPtr Parent() const;
    // The names of the items in this folder, in no particular order; none when it can't be read.
    std::vector<std::string> ChildNames() const;
    // The item a symbolic link under this name finally leads to, following links in turn (at most
    // 40, as the kernel does), whether that item exists or not; this same item when it is no link.
    FolderItemPtr LinkTarget() const;
    // Where a file's replacement is written before it takes the file's place: the file's own
    // folder, so that the two are on one file system and can swap or rename in one step.
    FolderItemPtr TemporaryFolder() const { return Parent(); }

    // True for anything under the name, a dangling symbolic link included: the name is taken.
    bool Exists() const;
    bool Directory() const;
    // The name itself is a symbolic link, whatever it leads to.
    bool SymbolicLink() const;
    // The permission bits (07777); -1 when the item can't be examined.
    int Permissions() const;
    // False where the file system keeps no modes (vfat, some network file systems).
    bool SetPermissions(int mode) const;
    // How long ago, by the system clock, the item itself (not a link's target) was last modified;
    // negative for a time in the future. Nothing when there is no item.
    std::optional<std::int64_t> SecondsSinceModified() const;

    // "" when the item has none, or where the file system keeps no extended attributes.
    std::string MacType() const;
    std::string MacCreator() const;
    bool SetMacType(const std::string& code) const;
    bool SetMacCreator(const std::string& code) const;
    // False where the file system refuses extended attributes (ENOTSUP): there no item can carry
    // a type or creator, so their absence says nothing about whose file it is.
    bool MacAttributesSupported() const;

    // A file, or an empty folder.
    bool Delete() const;
    // Renames this item to `destination`'s path. A file already there is replaced in one step, so
    // the destination name never stands empty.
    bool MoveFileTo(const FolderItem& destination) const;
    // Flushes the item (a file's bytes and attributes, or a folder's entries) to the disk.
    bool Sync() const;

    // For tests: every attribute write fails with `error` (0: none), as on a full disk (ENOSPC).
    // ENOTSUP fails reads too, as on a file system that keeps no extended attributes.
    static void SimulateAttributeError(int error);

private:
    std::string path_;
};
