// Best-score tables both games keep, one plain-text file per game under
// $XDG_DATA_HOME/zarkons (or ~/.local/share/zarkons):
//
//   zarkons-records 1
//   <score> <local date and time, YYYY-MM-DDTHH:MM:SS> <how the game ended>
//   ...
//
// at most ten records, best first; of equal scores the older stays ahead.
// Only a score above zero is a record. The file is replaced atomically under
// a lock, and a damaged file keeps its good lines; a file of a newer version
// is never rewritten. Nothing here writes to stdout or ends the program: a
// failure is one line on stderr and the game plays on.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

const int kRecMax = 10;               // records a table keeps
const size_t kRecMaxBytes = 64 * 1024; // a file is read this far and no further
const size_t kRecMaxLine = 128;       // longer lines are damage
// Scores are written and read within +-kRecScoreMax (ten digits); an add
// outside it is refused.
const long kRecScoreMax = 9999999999L;
// A lock held longer than this belongs to a game that hangs: give up, not wait.
const int kRecLockSeconds = 5;

// One record: score, when (ISO 8601, local time, no zone) and how the game ended
// (one word of letters, digits and '-').
struct rec_entry_t {
    long score;
    std::string when;
    std::string how;
};

// A table as read: its records best first and what was wrong with the text.
struct rec_table_t {
    std::vector<rec_entry_t> entries;
    int badLines = 0;      // lines that are not records (too long, junk, bad fields)
    bool badHeader = false; // the first line does not name our format
    bool truncated = false; // the file went on past kRecMaxBytes
    int newerVersion = 0;   // the header names this later format: nothing else is read
    bool damaged() const { return badLines > 0 || badHeader || truncated; }
};

// The records file of a game ("tie-zarkons" gives .../zarkons/tie-zarkons.records);
// false, with the reason in *why, when neither XDG_DATA_HOME nor HOME names a home.
bool rec_path(const char* game, std::string* path, std::string* why);

// Parses a table from text (at most kRecMaxBytes of it are looked at); keeps
// every good record, sorted and cut to kRecMax. A newer format's table is
// neither damaged nor read: only its version is kept.
rec_table_t rec_parse(const char* text, size_t size);

// The file's text for a table (header and one line per record).
std::string rec_format(const rec_table_t& table);

// Reads a records file; a missing file is an empty table. False (with *why)
// only when the file exists and cannot be read.
bool rec_load(const std::string& path, rec_table_t* table, std::string* why);

// Writes the table over path atomically: a temporary file in the same folder,
// flushed and synced, then renamed. On failure the old file is untouched.
bool rec_save(const std::string& path, const rec_table_t& table, std::string* why);

// Where a new score of *table would stand (0 = best), or -1 if it does not make
// it (a score of zero or below never does).
int rec_rank(const rec_table_t& table, long score);

// The whole act at the end of a game: creates the folder, locks the file
// (waiting its turn, kRecLockSeconds at most), removes temporary files a
// killed writer left, reads the table (setting a damaged one aside as
// <file>.damaged, dropping records of zero or below), merges the new record,
// writes it back and hands over the table and the new record's place (-1 when
// it did not make the table). Returns false when records are off for this
// game: the reason has gone to stderr (once per program run); a table of a
// newer version turns them off for the rest of the run. A score beyond
// kRecScoreMax is refused with a line of its own.
bool rec_add(const char* game, long score, const char* how, rec_table_t* table, int* rank);

// The current local time in the records' form.
std::string rec_now();
