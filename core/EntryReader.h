// The line reader of the data file. Loose on input: it skips what it does not
// expect, and every token is cut to its buffer.
#pragma once

#include <stddef.h>

const size_t kDateTokenSize = 20;
const size_t kTimeTokenSize = 20;
const size_t kTextTokenSize = 84;

struct DateRecord;

// Reads the next line with a text at *cursor into date (kDateTokenSize bytes),
// time (kTimeTokenSize) and text (kTextTokenSize); text may be null when only
// the date matters, the line is then passed over but not copied. The text ends
// at its first NUL, which must lie before end, the end of the readable bytes.
// Leaves *cursor on the CR, LF or NUL that ended the line. Returns 0 at the
// end of the text.
int ReadEntryLine(const char** cursor, const char* end, char* date, char* time, char* text);

// The reader stops at the first NUL. One inside a file (a crash can leave a
// run of them) ends its line instead, or the reminders behind it would be
// gone from the file at the next save: turns the size bytes' NULs into LFs.
void EndLinesAtNuls(char* text, size_t size);

// Whether text begins with a word that, right after a time, reads as its AM or
// PM mark; the writer then puts two blanks between the time and such a text.
int BeginsWithTimeMark(const char* text);

// Reads a time token of the file: a token ending in A or P (with or without
// the M that follows) states a 12-hour time, any other a 24-hour time.
int ParseFileTime(const char* token, DateRecord* target);
