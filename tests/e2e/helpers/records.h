/* The record file that the end-to-end helper programs share.
 *
 * Every helper appends what it saw or did as one record:
 *
 *   @record <kind>
 *   program=<module path>
 *   pid=<process id>
 *   tick=<GetTickCount>
 *   <key>=<value>
 *   ...
 *   @end
 *
 * Values keep their text as it is, except that '%', CR and LF are written as
 * %25, %0D and %0A, so that every field stays on its line. The file is named
 * by the environment variable E2E_RECORD_FILE (a Windows path, or a Unix path
 * that Wine reaches through drive Z:); without it, "e2e-records.txt" beside
 * the program is used. */
#ifndef E2E_RECORDS_H
#define E2E_RECORDS_H

#include <windows.h>

/* Starts a record of the given kind with the program, pid and tick fields. */
void RecordBegin(const char* kind);
void RecordField(const char* key, const char* value);
void RecordFieldNumber(const char* key, unsigned long value);
/* For values that can be below zero, such as a window's edges. */
void RecordFieldSigned(const char* key, long value);
/* Appends the record to the file; waits while another helper is writing. */
BOOL RecordWrite(void);

/* The usual fields of a program's start: command line, current directory and
 * how it was asked to show its first window. */
void RecordStartFields(void);

/* The record file's path as this program resolves it. */
void RecordFilePath(char* path, DWORD size);

/* Records "snapshot" with the given name and waits until the harness has
 * taken the screenshot (it then creates <record file>.ack.NAME); FALSE when
 * that did not happen within limitMs. The caller may add fields (such as the
 * window's rectangle) between RecordBegin and this call: pass begun = TRUE. */
BOOL RecordSnapshot(const char* name, BOOL begun, DWORD limitMs);

/* The program's file name as used in environment variable names: upper case,
 * every character other than a letter or digit turned into '_'
 * ("Mixer.exe" gives "MIXER_EXE"). */
void ProgramKey(char* key, DWORD size);

#endif
