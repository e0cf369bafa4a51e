// The workbook writer of the reader's tests, built into this test program too.
#include "../workbook/XlsWriter.cpp"
