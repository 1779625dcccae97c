// The bytes of every numbered file in resources/ (and of the test pattern
// bitmap), linked with the assembler's .incbin: an independent copy to check
// what the resource calls hand back.
#pragma once

struct ExpectedFile {
    const char* type_name;      // "TEXTFILE" or "BITMAP"
    int id;                     // resource number
    const char* file_name;      // for messages
    const unsigned char* begin;
    const unsigned char* end;   // one past the last byte
};

extern const ExpectedFile expected_files[];
extern const int expected_file_count;
