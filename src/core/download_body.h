// What a downloaded body must look like before it may replace its file: a captive
// portal's page or an empty answer must not take the place of a reference list, nor
// anything but a JPEG picture that of the map.
#pragma once

#include <string>
#include <string_view>

namespace core {

// Why a downloaded body may not replace its file, as English sentences; empty when
// it may.

// The map: a JPEG picture.
std::string jpegRefusal(std::string_view body);

// The lists: the body may begin with a UTF-8 byte order mark and end its lines in
// LF or CR LF.

// The district list: at least one line must hold a district code (AB-12) where the
// list keeps it, at the line's start before a tab, a blank or ';' (the semicolon
// form: as the first field of a line after the header).
std::string districtListRefusal(std::string_view body);

// The confirmations: at least one plain line beginning with a district code, or the
// service's CSV with a line whose RDA field is one. The other lists' lines begin with
// codes too: a plain body that reads as the district list (a region header line
// such as "АМУРСКАЯ ОБЛАСТЬ (AM) UA0J" that names no confirmation, or the semicolon
// form's header) or as the region list (its lines "AB-12 01.2020-LastQso 3.55%MW")
// is refused. A body with no confirmation at
// all (nothing, blank lines, a CSV header alone) is taken only when the file it
// would replace holds none either: an operator who has none yet.
std::string confirmationsRefusal(std::string_view body, std::string_view oldConfirmations);

}  // namespace core
