#!/bin/sh
# generate_checks.sh OUT_DIR HEADER... [--ce CE_HEADER...]
#
# Reads the simulation's platform headers (those the desktop also has) and writes, for each, two
# sources that compile only if the desktop's real headers agree with it; each is named after the
# header, and so is each of its checks, so that a disagreement says where it comes from:
#   OUT_DIR/H.c    every object-like #define NAME VALUE: the desktop defines NAME, with the same
#                  value and a value of the same kind (pointer or integer, size, signedness). C,
#                  where GCC folds pointer casts such as MAKEINTRESOURCE(3) into constants.
#   OUT_DIR/H.cpp  macros that name a function or another macro (lstrlen, MAKEINTRESOURCE) expand
#                  to the same name; every typedef and handle names the same type; every record
#                  has the same size, field names, offsets and field types; every function
#                  declaration, repeated with C linkage, matches the desktop's (return type,
#                  parameters, calling convention).
# And for each CE-only header, OUT_DIR/ce/H.c: none of its macros is the desktop's too, as an
# identical redefinition would pass unnoticed.
set -eu

out_dir=$1
shift
mkdir -p "$out_dir/ce"
headers=
while [ $# -gt 0 ] && [ "$1" != --ce ]; do headers="$headers $1"; shift; done
[ $# -gt 0 ] && shift
ce_headers="$*"

# Macros that are not values, or not checked here, and why:
#   WINAPI CALLBACK APIENTRY WINAPIV  calling conventions: the declarations check compares them
#   WINBASEAPI WINUSERAPI SIM_EXTERN_C SIM_CRTAPI  how the simulation exports its entry points
#   NULL                              the compiler's own, from <stddef.h>
#   REFCLSID REFGUID                  types, for C and for C++ (const GUID&, as the desktop's)
skip_macros="WINAPI CALLBACK APIENTRY WINAPIV WINBASEAPI WINUSERAPI SIM_EXTERN_C SIM_CRTAPI NULL REFCLSID REFGUID"

# Typedefs that differ on purpose (sim/include/ce/README.md):
#   WCHAR   char16_t in the simulation, wchar_t on Windows
skip_typedefs="WCHAR"

# Records whose size differs on purpose: the desktop's NOTIFYICONDATAW has grown; its first
# version, which ends after szTip[64], is Windows CE's.
grown_records="NOTIFYICONDATAW"
grown_fields="NOTIFYICONDATAW.szTip"

# Functions that are not compared, and why:
#   InterlockedIncrement InterlockedDecrement   the desktop's headers map them to compiler intrinsics
#   wcschr wcsrchr wcsstr   C++'s const-correct pairs of overloads where C has one function
#   towlower towupper       take and return WCHAR (char16_t), where the desktop has wint_t
skip_functions="InterlockedIncrement InterlockedDecrement wcschr wcsrchr wcsstr towlower towupper"

awk -v out_dir="$out_dir" -v skip_macros="$skip_macros" \
    -v skip_typedefs="$skip_typedefs" -v grown_records="$grown_records" -v grown_fields="$grown_fields" \
    -v skip_functions="$skip_functions" -v ce_headers="$ce_headers" '
function set_of(list, result,    n, parts, i) {
    n = split(list, parts, " ")
    for (i = 1; i <= n; i++) result[parts[i]] = 1
}
function trim(s) {
    sub(/^[ \t]+/, "", s)
    sub(/[ \t]+$/, "", s)
    return s
}
# Drops a // comment that is not inside a string literal.
function strip_comment(s,    i, c, quoted) {
    quoted = 0
    for (i = 1; i < length(s); i++) {
        c = substr(s, i, 1)
        if (c == "\"") quoted = !quoted
        else if (!quoted && c == "/" && substr(s, i + 1, 1) == "/") return substr(s, 1, i - 1)
    }
    return s
}
function is_identifier(s) { return s ~ /^[A-Za-z_][A-Za-z0-9_]*$/ }
# The last identifier of a declarator: "*LPMSG" -> LPMSG, "szTip[64]" -> szTip.
function declarator_name(d) {
    sub(/\[.*$/, "", d)
    gsub(/[* \t]/, "", d)
    return d
}
function emit_typedef(type, name) {
    if (name in skip_typedef) return
    typedef_count++
    typedef_header[typedef_count] = header
    typedefs[typedef_count] = "static_assert(std::is_same_v<" type ", " name ">, \"" header ": typedef " name "\");"
}
# "typedef X A, *B;" where X has no braces or parentheses.
function simple_typedef(stmt,    body, n, parts, first, base, i, name, stars) {
    body = stmt
    sub(/^typedef[ \t]+/, "", body)
    sub(/;[ \t]*$/, "", body)
    n = split(body, parts, ",")
    first = trim(parts[1])
    name = first
    sub(/.*[^A-Za-z0-9_]/, "", name)
    base = substr(first, 1, length(first) - length(name))
    emit_typedef(trim(base), name)
    # "typedef X A, *B;": B is a pointer to X, whatever X is.
    for (i = 2; i <= n; i++) {
        stars = parts[i]
        gsub(/[^*]/, "", stars)
        emit_typedef(trim(base) stars, declarator_name(parts[i]))
    }
}
# "typedef R(CALLBACK* NAME)(P);"
function function_pointer_typedef(stmt,    head, name, rest) {
    head = stmt
    sub(/^typedef[ \t]+/, "", head)
    name = head
    sub(/^[^(]*\([^*]*\*[ \t]*/, "", name)
    rest = name
    sub(/\).*$/, "", name)
    sub(/^[^)]*\)/, "", rest)
    sub(/;[ \t]*$/, "", rest)
    head = substr(head, 1, index(head, "*"))
    emit_typedef(head ")" rest, name)
}
function record(stmt,    opening, closing, body, tail, n, fields, i, f, name, checks, parts, stars, k) {
    opening = index(stmt, "{")
    closing = length(stmt)
    while (substr(stmt, closing, 1) != "}") closing--
    body = substr(stmt, opening + 1, closing - opening - 1)
    tail = substr(stmt, closing + 1)
    sub(/;[ \t]*$/, "", tail)
    split(tail, parts, ",")
    name = trim(parts[1])
    record_count++
    record_header[record_count] = header
    records[record_count] = "namespace ours {\n" stmt "\n}"
    checks = ""
    if (name in grown_record)
        checks = checks "static_assert(sizeof(ours::" name ") == " name "_V1_SIZE, \"" header ": " name ": size of its first version\");\n"
    else
        checks = checks "static_assert(sizeof(ours::" name ") == sizeof(" name "), \"" header ": " name ": size\");\n"
    n = split(body, fields, ";")
    for (i = 1; i <= n; i++) {
        f = trim(fields[i])
        if (f == "") continue
        f = declarator_name(declarator_tail(f))
        checks = checks "static_assert(offsetof(ours::" name ", " f ") == offsetof(" name ", " f "), \"" header ": " name "." f ": offset\");\n"
        if (!((name "." f) in grown_field))
            checks = checks "static_assert(same_field_type<decltype(ours::" name "::" f "), decltype(" name "::" f ")>(), \"" header ": " name "." f ": type\");\n"
    }
    record_checks[record_count] = checks
    # Further declarators: pointers to the record.
    for (k = 2; k <= split(tail, parts, ","); k++) {
        stars = parts[k]
        gsub(/[^*]/, "", stars)
        emit_typedef(name stars, declarator_name(parts[k]))
    }
}
# Each enumerator is a constant: its value is the one given, or one more than the one before.
function enumeration(stmt,    body, n, items, i, item, name, value, previous) {
    body = substr(stmt, index(stmt, "{") + 1)
    sub(/\}.*$/, "", body)
    n = split(body, items, ",")
    previous = ""
    for (i = 1; i <= n; i++) {
        item = trim(items[i])
        if (item == "") continue
        name = item
        sub(/[ \t=].*$/, "", name)
        if (index(item, "=")) value = trim(substr(item, index(item, "=") + 1))
        else if (previous == "") value = "0"
        else value = "(" previous ") + 1"
        macro_count++
        macro_header[macro_count] = header
        macro_name[macro_count] = name
        macro_value[macro_count] = value
        object_macro[name] = 1
        enumerator[name] = 1
        previous = name
    }
}
# The declarator at the end of a field: "WCHAR szTip[64]" -> "szTip[64]".
function declarator_tail(f,    t) {
    t = f
    sub(/^.*[ \t*]/, "", t)
    return t
}
function handle_statement(stmt,    name, value, fn) {
    if (stmt ~ /^#[ \t]*define[ \t]/) {
        name = stmt
        sub(/^#[ \t]*define[ \t]+/, "", name)
        if (name ~ /^[A-Za-z_][A-Za-z0-9_]*\(/) return
        value = name
        sub(/[ \t].*$/, "", name)
        value = substr(value, length(name) + 1)
        value = trim(value)
        if (value == "" || (name in skip_macro)) return
        macro_count++
        macro_header[macro_count] = header
        macro_name[macro_count] = name
        macro_value[macro_count] = value
        object_macro[name] = 1
        return
    }
    if (stmt ~ /^DECLARE_HANDLE\(/) {
        name = stmt
        sub(/^DECLARE_HANDLE\([ \t]*/, "", name)
        sub(/[ \t]*\).*$/, "", name)
        emit_typedef("struct " name "__*", name)
        return
    }
    if (stmt ~ /^typedef[ \t]+struct[^;]*\{/) { record(stmt); return }
    if (stmt ~ /^typedef[ \t]+enum[^;]*\{/) { enumeration(stmt); return }
    if (stmt ~ /^typedef[^(]*\([^*]*\*[ \t]*[A-Za-z_][A-Za-z0-9_]*\)/) { function_pointer_typedef(stmt); return }
    if (stmt ~ /^typedef[ \t]/) { simple_typedef(stmt); return }
    if (stmt ~ /^(WINBASEAPI|WINUSERAPI|SIM_CRTAPI)[ \t]/) {
        fn = stmt
        sub(/\(.*$/, "", fn)
        sub(/^.*[ \t*]/, "", fn)
        if (fn in skip_function) return
        # Without a calling convention a redeclaration takes that of the first: make ours explicit.
        if (stmt !~ /[ \t](WINAPI|WINAPIV|CALLBACK|APIENTRY)[ \t]/) sub(fn "\\(", "__cdecl " fn "(", stmt)
        fn_count++
        fn_header[fn_count] = header
        fns[fn_count] = fn
        # The C runtime'"'"'s are told apart when written out.
        if (stmt ~ /^SIM_CRTAPI/) sub(/^SIM_CRTAPI[ \t]+/, "", stmt)
        else decl_of[fn_count] = 1
        decls[fn_count] = stmt
    }
}
# The prelude of the constants check of a header (C).
function c_prelude(file, label) {
    print "// Generated by generate_checks.sh: the constants of " label " against the desktop'"'"'s headers." > file
    print "#include <windows.h>\n#include <shellapi.h>\n#include <mmsystem.h>\n" > file
    print "#define IS_POINTER(x) (__builtin_classify_type(x) == 5)" > file
    print "#define IS_SIGNED(x) ((__typeof__(x))-1 < (__typeof__(x))1)" > file
    print "#define SAME_KIND(a, b) (IS_POINTER(a) == IS_POINTER(b) && sizeof(a) == sizeof(b) && \\" > file
    print "                         IS_SIGNED(a) == IS_SIGNED(b) && \\" > file
    print "                         (!IS_POINTER(a) || __builtin_types_compatible_p(__typeof__(a), __typeof__(b))))\n" > file
}
# The prelude of the check of names, types, records and declarations of a header (C++).
function cxx_prelude(file, label) {
    print "// Generated by generate_checks.sh: the names, types, records and declarations of " label > file
    print "// against the desktop'"'"'s headers." > file
    print "#include <windows.h>\n#include <shellapi.h>\n#include <mmsystem.h>\n#include <stdarg.h>\n#include <stddef.h>" > file
    print "#include <string.h>\n#include <wchar.h>\n\n#include <string_view>\n#include <type_traits>\n" > file
    print "#define EXPANDED_TEXT(x) EXPANDED_TEXT_(x)\n#define EXPANDED_TEXT_(x) #x\n" > file
    print "// Records are compared field by field; a field of record type by its size alone, the record" > file
    print "// itself being compared on its own. (Checks of several headers may share a unit.)" > file
    print "#ifndef SAME_FIELD_TYPE_DEFINED\n#define SAME_FIELD_TYPE_DEFINED" > file
    print "template <class Ours, class Theirs> constexpr bool same_field_type() {" > file
    print "    if constexpr (std::is_array_v<Ours> && std::is_array_v<Theirs>)" > file
    print "        return std::extent_v<Ours> == std::extent_v<Theirs> &&" > file
    print "               same_field_type<std::remove_extent_t<Ours>, std::remove_extent_t<Theirs>>();" > file
    print "    else if constexpr (std::is_class_v<Ours> && std::is_class_v<Theirs>)" > file
    print "        return sizeof(Ours) == sizeof(Theirs);" > file
    print "    else" > file
    print "        return std::is_same_v<Ours, Theirs>;" > file
    print "}\n#endif\n" > file
}
function write_ce_checks(label,    file, i) {
    file = out_dir "/" label ".c"
    c_prelude(file, label)
    for (i = 1; i <= ce_macro_count; i++)
        if (ce_macro_header[i] == label)
            print "#ifdef " ce_macros[i] "\n#error \"" label ": " ce_macros[i] ": the desktop has it too\"\n#endif" > file
    close(file)
}
function write_checks(label,    out_c, out_cxx, i, name, value) {
    out_c = out_dir "/" label ".c"
    out_cxx = out_dir "/" label ".cpp"
    c_prelude(out_c, label)
    cxx_prelude(out_cxx, label)

    for (i = 1; i <= macro_count; i++) {
        if (macro_header[i] != label) continue
        name = macro_name[i]
        value = macro_value[i]
        if (is_identifier(value) && !(value in object_macro)) {
            # Another name for a function, a function-like macro or a keyword: the same name.
            print "#ifndef " name "\n#error \"" label ": " name ": not in the desktop'"'"'s headers\"\n#else" > out_cxx
            print "static_assert(std::string_view(EXPANDED_TEXT(" name ")) == EXPANDED_TEXT(" value "), \"" label ": " name "\");\n#endif" > out_cxx
            continue
        }
        # An enumerator the desktop lacks is an undeclared name.
        if (!(name in enumerator)) print "#ifndef " name "\n#error \"" label ": " name ": not in the desktop'"'"'s headers\"\n#else" > out_c
        print "_Static_assert((ULONG_PTR)(" value ") == (ULONG_PTR)(" name "), \"" label ": " name ": value\");" > out_c
        print "_Static_assert(SAME_KIND((" value "), (" name ")), \"" label ": " name ": type\");" > out_c
        if (!(name in enumerator)) print "#endif" > out_c
    }

    print "\n// Types." > out_cxx
    for (i = 1; i <= typedef_count; i++) if (typedef_header[i] == label) print typedefs[i] > out_cxx

    print "\n// Records." > out_cxx
    for (i = 1; i <= record_count; i++) if (record_header[i] == label) print records[i] "\n" record_checks[i] > out_cxx

    print "// Functions: each is the desktop'"'"'s too, and a declaration that disagrees with the desktop'"'"'s" > out_cxx
    print "// conflicts with it." > out_cxx
    print "namespace desktop {" > out_cxx
    for (i = 1; i <= fn_count; i++) if (fn_header[i] == label) print "using ::" fns[i] ";" > out_cxx
    print "}" > out_cxx
    print "\nextern \"C\" {" > out_cxx
    for (i = 1; i <= fn_count; i++) if (fn_header[i] == label && (i in decl_of)) print decls[i] > out_cxx
    print "\n// The C runtime'"'"'s; which of them the runtime imports from its DLL is not ours to say." > out_cxx
    print "#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored \"-Wattributes\"" > out_cxx
    for (i = 1; i <= fn_count; i++) if (fn_header[i] == label && !(i in decl_of)) print decls[i] > out_cxx
    print "#pragma GCC diagnostic pop\n}" > out_cxx
    close(out_c)
    close(out_cxx)
}
BEGIN {
    set_of(skip_macros, skip_macro)
    set_of(skip_typedefs, skip_typedef)
    set_of(grown_records, grown_record)
    set_of(grown_fields, grown_field)
    set_of(skip_functions, skip_function)
    set_of(ce_headers, ce_header)
}
# Each header is named as it is included: "winuser.h", "ce/aygshell.h".
FNR == 1 {
    header = FILENAME
    sub(/^.*\//, "", header)
    if (FILENAME in ce_header) header = "ce/" header
    header_count++
    headers[header_count] = header
    pending = ""
    statement = ""
}
FILENAME in ce_header {
    line = trim(strip_comment($0))
    if (line ~ /^#[ \t]*define[ \t]+[A-Za-z_][A-Za-z0-9_]*([ \t]|$)/) {
        sub(/^#[ \t]*define[ \t]+/, "", line)
        sub(/[ \t].*$/, "", line)
        ce_macro_count++
        ce_macro_header[ce_macro_count] = header
        ce_macros[ce_macro_count] = line
    }
    next
}
{
    line = strip_comment($0)
    if (pending != "") line = pending " " trim(line)
    pending = ""
    # A line continued with a backslash.
    if (line ~ /\\[ \t]*$/) { sub(/\\[ \t]*$/, "", line); pending = line; next }
    if (statement != "") {
        statement = statement " " trim(line)
        if (depth > 0) {
            depth += gsub(/\{/, "{", line) - gsub(/\}/, "}", line)
            if (depth > 0 || statement !~ /;[ \t]*$/) next
        } else if (statement !~ /;[ \t]*$/) next
        handle_statement(statement)
        statement = ""
        next
    }
    line = trim(line)
    if (line ~ /^#[ \t]*define[ \t]/) { handle_statement(line); next }
    if (line ~ /^(typedef|DECLARE_HANDLE\(|WINBASEAPI|WINUSERAPI|SIM_CRTAPI)/) {
        depth = gsub(/\{/, "{", line) - gsub(/\}/, "}", line)
        if (depth > 0 || line !~ /;[ \t]*$/) { statement = line; next }
        handle_statement(line)
    }
}
END {
    for (i = 1; i <= header_count; i++) {
        if (index(headers[i], "ce/") == 1) write_ce_checks(headers[i])
        else write_checks(headers[i])
    }
}
' $headers $ce_headers
