// mkdtemp, which Windows' C library lacks, for test helpers written against POSIX.
#pragma once

extern "C" char* mkdtemp(char* pattern);
