// The library's debug log: in debug mode every Orvex_ call and its result
// go to the debugger output at once and into a log in memory, which the
// library end saves as "Orvex.log" beside the program. Debug mode is on when
// the marker file "<program file>.debug" exists at the library start. The
// log never fails a call.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// Debug mode is on while the in-memory log exists.
bool DebugMode();
// Switches debug mode on (an empty log); the start does this when the marker exists.
void EnableDebugLog();
// Switches debug mode off and drops the log.
void DisableDebugLog();
// The lines written so far, or null outside debug mode.
const std::vector<std::string>* DebugLogLines();
// In debug mode: the line goes to the debugger output now and into the log.
void WriteDebugLine(const std::string& message);

// "Orvex-Transparent.DLL [" tick "] : " message
std::string FormatDebugLine(DWORD tick, const std::string& message);
// The debugger output takes at most this many characters of a line.
constexpr size_t DebugOutputBufferSize = 1024;
// Copies line into buffer (DebugOutputBufferSize + 1 characters), cut to fit
// and terminated; returns the number of characters copied.
size_t CopyForDebugOutput(const std::string& line, char (&buffer)[DebugOutputBufferSize + 1]);
// Where debugger output goes (OutputDebugStringA unless replaced).
using DebugOutputSink = void(__stdcall*)(const char*);
void SetDebugOutputSink(DebugOutputSink sink);

// Full path of the program file (the host program, also for Orvex.dll).
std::wstring ProgramFileName();
std::wstring DebugMarkerFileName(const std::wstring& programFile);
std::wstring DebugLogFileName(const std::wstring& programFile);
// Writes the lines, each followed by CR LF, replacing the file; false on failure.
bool SaveDebugLog(const std::vector<std::string>& lines, const std::wstring& fileName);
