// The resident decompile service of a plugin copy, seen from a test or a
// benchmark under Wine: its port file, its Linux java processes (Wine shows
// /proc as Z:\proc), and ending them.
#pragma once

#include <string>
#include <vector>

// The port file the bridge in home uses, in the temporary folder.
std::wstring ServicePortFileFor(const std::wstring& home);

// The ids of the Linux java processes serving that port file.
std::vector<std::wstring> ServiceProcesses(const std::wstring& portFile);

// Kills them (kill -9) and removes the port file and its companions.
void EndServices(const std::wstring& portFile);

// The port file's text once a service other than the one that wrote previous
// has written it; "" after limitMs.
std::string NewPortFileText(const std::wstring& portFile, const std::string& previous,
                            unsigned limitMs);

// Starts a service for the bridge in home on java, as the bridge does (its
// secret on its standard input), and waits for it to end; its exit code, or
// 999 when it was still running after limitMs (it is then killed).
unsigned RunServiceUntilItEnds(const std::wstring& java, const std::wstring& home,
                               const std::wstring& portFile, unsigned limitMs);
