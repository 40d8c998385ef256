#pragma once
// The file work under the journal: checking that a journal may be trusted, making its
// folder, temporaries of its own and a timestamped name to move a bad journal aside to.
// Used by ReceiptJournal.cpp and JournalCompaction.cpp only.
#include "FileReplace.h"

#include <cstdint>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace bansho::keep::journalfiles {

// The folder and the name of a path ("." for a bare name).
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);
// Closes a descriptor that is open and marks it closed.
void CloseFd(int& fd);

// Why a journal found at `path` (lstat `st`) may not be read or written, or empty when it is
// a regular file of the user's, not too large.
std::string Distrust(const struct stat& st, std::uint64_t maxBytes);

// Makes the folder and those above it that are missing, private to the user. 0 or errno.
int MakeFolders(const std::string& dir);

// Removes "<name>.XXXXXX" temporaries a killed compaction left (the caller holds the lock).
void RemoveTemporaries(int dirFd, std::string_view name);

// A new temporary "<name>.XXXXXX" in the folder, created exclusively, private, opened for
// appending. Returns the descriptor, or -1 with errno.
int MakeTemporary(int dirFd, const std::string& name, std::string& tmpName);

using filereplace::WriteAll;

// Ends the replacement of the journal by the temporary `tmp` (descriptor `fd`) in the folder
// `dirFd`: when it failed, the temporary is removed and closed; when the rename went through, the
// folder is flushed so that the rename itself is kept (`fd` stays open: it is the journal now).
// The folder is closed either way. Returns `ok`.
bool EndReplacement(int dirFd, int fd, const std::string& tmp, bool ok);

// "name.20261207-214500" (local time), with "-2", "-3"... when that exists.
std::string AsideName(const std::string& path);

// "ファイル "name" ..." texts of the journal.
std::string CannotKeep(const std::string& path, const std::string& reason);

} // namespace bansho::keep::journalfiles
