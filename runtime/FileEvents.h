#pragma once

#include <functional>
#include <string>

// The moments of a file replacement that a crash could interrupt. Tests watch them to stop a
// process exactly there; the program itself never sets an observer.
enum class FileEvent {
    Created,       // a TextOutputStream has made a new file, still empty
    Writing,       // a TextOutputStream is about to write bytes into its file
    OutputClosed,  // a TextOutputStream has closed its file
    Exchanged,     // two files have swapped places
    Moved,         // a file has been renamed, replacing whatever was under the new name
    Deleting,      // a file is about to be deleted
};

using FileEventObserver = std::function<void(FileEvent event, const std::string& path)>;

// Empty to stop watching.
void SetFileEventObserver(FileEventObserver observer);
void RaiseFileEvent(FileEvent event, const std::string& path);
