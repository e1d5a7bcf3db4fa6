#pragma once

#include "settings/registry_store.h"

#include <string>
#include <string_view>

namespace qbr {

// The command line registered for opening files with the extension (given without its dot):
// HKEY_CLASSES_ROOT\.ext names a file type T, and T\shell\open\command holds the command as its
// default value. Empty when either key is missing or T is empty. Raises the data-type error
// when a default value is not a string.
std::string GetExtLinkApp(RegistryStore& store, std::string_view ext);

// The LZH archive tool in an open command: when the command, with ASCII capitals made small,
// names lhmelt.exe or explzh.exe, the command cut after the first "exe" found anywhere in it
// (its own bytes and case kept), with a closing double quote when it begins with one; else
// empty. Arguments such as %1 are always dropped.
std::string archiverCommandFrom(std::string_view command);

// ArchiverCommand: archiverCommandFrom(GetExtLinkApp(store, "LZH")).
std::string detectArchiverCommand(RegistryStore& store);

} // namespace qbr
