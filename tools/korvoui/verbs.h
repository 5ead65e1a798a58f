// verbs.h: the verbs of korvoui, one function each.
#pragma once

int RunDemo(int argc, char** argv);
int RunSessionVerb(int argc, char** argv);
int RunCheck(int argc, char** argv);
int RunDump(int argc, char** argv);
int RunRender(int argc, char** argv);
int RunPlay(int argc, char** argv);
