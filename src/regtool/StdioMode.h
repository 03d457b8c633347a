#pragma once
// Standard input and output carry .reg files byte for byte (no line-end translation).
void SetBinaryStdio();
