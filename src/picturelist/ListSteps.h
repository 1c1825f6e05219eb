#pragma once

#include "platform/FailureTolerantRun.h"
#include "state/Context.h"

#include <string>

namespace zelvano {

// The list box shows one page of at most this many names.
inline constexpr int kPageSize = 30;

// Path of the current type's list file.
std::string CurrentListFile(const Context& c);

// Loads the current type's list file into PicList and shows its first page, first entry selected;
// says so when the type has not been scanned yet.
void HentListe(Context& c);

// Rewrites the list file from PicList. On failure the old file stays.
OpResult SaveList(Context& c);

// Makes PicList equal to the list file again; a missing or unreadable file leaves it as it is.
void ReloadList(Context& c);

// "The list file PATH could not be read: REASON"
std::string ListNotRead(const std::string& path, const OpResult& result);

// "The list file PATH could not be written: REASON."
std::string ListNotWritten(const std::string& path, const OpResult& result);

// SaveList and then ReloadList. A failed save is reported and PicList is kept as it stands, so
// that it goes on showing what is on the disk.
void SaveAndReload(Context& c);

// Appends a record at the end of the list file and reads the list back. A failed append is
// reported and the record is added to PicList alone, which goes on showing what is on the disk.
// A list file that ends with an unpaired line, or whose lines end in LF alone, is written whole
// instead, without that line and with CR LF.
void AppendRecord(Context& c, const std::string& folder, const std::string& name);

// Adds the names of the rows PageStart .. PageStart+29 to the list box, up to the first empty row.
void FillPage(Context& c);

// Counter caption: "250 jpg Pictures/ 47".
void ShowCounter(Context& c);

// Removes one record: takes the row out of PicList, rewrites and rereads the list file, and refills
// the page at the unchanged PageStart.
void RemoveRow(Context& c, std::size_t row);

// After a refill: selects the entry at SelIndex again, or the one before it when the page got
// shorter, and gives the list the focus.
void RestoreSelection(Context& c);

// Texts of a refused or failed deletion.
inline constexpr std::string_view kWriteProtectedDelete =
    "The file are, write protected and can not bee deleted.";
std::string CouldNotDelete(const std::string& name, const OpResult& result);

// Deletes the picture at `path` and then removes its record (`row`) with RemoveRow. When the
// deletion fails for any reason but the file being gone already, says why, keeps the record and
// returns false.
bool DeletePictureAndRecord(Context& c, FailureTolerantRun& run, std::size_t row, const std::string& path,
                            const std::string& name);

} // namespace zelvano
