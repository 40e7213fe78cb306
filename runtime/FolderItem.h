#pragma once

#include <memory>
#include <string>

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
    // Where a file's replacement is written before it takes the file's place: the file's own
    // folder, so that the two are on one file system and can swap or rename in one step.
    FolderItemPtr TemporaryFolder() const { return Parent(); }

    // True for anything under the name, a dangling symbolic link included: the name is taken.
    bool Exists() const;
    bool Directory() const;

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

    // For tests: makes every item behave as on a file system that refuses extended attributes.
    static void SimulateAttributesRefused(bool refused);

private:
    std::string path_;
};
