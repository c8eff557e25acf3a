#pragma once
// Writer of OLE2 compound files ([MS-CFB], version 3, 512-byte sectors) holding one stream.
#include <cstdint>
#include <string>
#include <vector>

namespace frusta::xls {

// A compound file whose root storage holds one stream `name` (ASCII) with `data`. A stream
// shorter than 4096 bytes is padded with zeros to that size, so that it lives in regular
// sectors and the file needs no mini stream.
std::vector<uint8_t> buildCompoundFile(const std::string& name, const std::vector<uint8_t>& data);

} // namespace frusta::xls
