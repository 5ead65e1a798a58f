// session_state_commands.h: the session commands that reach the stand-ins'
// game state and records: `host`, record set-up lines, `show`, `forget`,
// `calls`, `draws` and `rawinput`.
#pragma once
#include <string>
#include <vector>

#include "tools/korvoui/session_script.h"

// Runs the line when its first token is one of these commands or a record kind
// of a state provider (*handled true), printing to standard output. False with
// a reason in *error for a line that cannot be run.
bool RunStateCommand(const std::vector<SessionToken>& tokens, bool* handled, std::string* error);

// An object argument: @NAME of an object of the stand-ins, or null. *address
// gets the actor, mounted option or item (null for null); *kind its kind.
// False with a reason for an unknown name or another token.
bool ResolveSessionObject(const SessionToken& token, void** address, std::string* kind,
                          std::string* error);

// The printed lines of `draws [KIND]` for the current draw list.
std::vector<std::string> DrawLines(const std::string& kind);

namespace korvostate { struct SField; }
// The FIELD=VALUE tokens of a line as record fields; false for another token.
bool ReadSessionFields(const std::vector<SessionToken>& tokens,
                       std::vector<korvostate::SField>* fields, std::string* error);
