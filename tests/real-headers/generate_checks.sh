#!/bin/sh
# generate_checks.sh OUT_C OUT_CXX HEADER... [--ce CE_HEADER...]
#
# Reads the simulation's platform headers (those the desktop also has) and writes two sources that
# compile only if the desktop's real headers agree with them:
#   OUT_C    every object-like #define NAME VALUE: the desktop defines NAME, with the same value
#            and a value of the same kind (pointer or integer, size, signedness). C, where GCC
#            folds pointer casts such as MAKEINTRESOURCE(3) into constants. And no macro of the
#            CE-only headers is the desktop's too: an identical redefinition would pass unnoticed.
#   OUT_CXX  macros that name a function or another macro (lstrlen, MAKEINTRESOURCE) expand to
#            the same name; every typedef and handle names the same type; every record has the
#            same size, field names, offsets and field types; every function declaration,
#            repeated with C linkage, matches the desktop's (return type, parameters, calling
#            convention).
set -eu

out_c=$1
out_cxx=$2
shift 2
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

awk -v out_c="$out_c" -v out_cxx="$out_cxx" -v skip_macros="$skip_macros" \
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
    typedefs[typedef_count] = "static_assert(std::is_same_v<" type ", " name ">, \"typedef " name "\");"
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
    records[record_count] = "namespace ours {\n" stmt "\n}"
    checks = ""
    if (name in grown_record)
        checks = checks "static_assert(sizeof(ours::" name ") == " name "_V1_SIZE, \"" name ": size of its first version\");\n"
    else
        checks = checks "static_assert(sizeof(ours::" name ") == sizeof(" name "), \"" name ": size\");\n"
    n = split(body, fields, ";")
    for (i = 1; i <= n; i++) {
        f = trim(fields[i])
        if (f == "") continue
        f = declarator_name(declarator_tail(f))
        checks = checks "static_assert(offsetof(ours::" name ", " f ") == offsetof(" name ", " f "), \"" name "." f ": offset\");\n"
        if (!((name "." f) in grown_field))
            checks = checks "static_assert(same_field_type<decltype(ours::" name "::" f "), decltype(" name "::" f ")>(), \"" name "." f ": type\");\n"
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
        fns[fn_count] = fn
        if (stmt ~ /^SIM_CRTAPI/) {
            sub(/^SIM_CRTAPI[ \t]+/, "", stmt)
            crt_count++
            crt_decls[crt_count] = stmt
        } else {
            decl_count++
            decls[decl_count] = stmt
        }
    }
}
BEGIN {
    set_of(skip_macros, skip_macro)
    set_of(skip_typedefs, skip_typedef)
    set_of(grown_records, grown_record)
    set_of(grown_fields, grown_field)
    set_of(skip_functions, skip_function)
    set_of(ce_headers, ce_header)
    pending = ""
}
FILENAME in ce_header {
    line = trim(strip_comment($0))
    if (line ~ /^#[ \t]*define[ \t]+[A-Za-z_][A-Za-z0-9_]*([ \t]|$)/) {
        sub(/^#[ \t]*define[ \t]+/, "", line)
        sub(/[ \t].*$/, "", line)
        ce_macro_count++
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
    print "// Generated by generate_checks.sh: our constants against the desktop'"'"'s headers." > out_c
    print "#include <windows.h>\n#include <shellapi.h>\n#include <mmsystem.h>\n" > out_c
    print "#define IS_POINTER(x) (__builtin_classify_type(x) == 5)" > out_c
    print "#define IS_SIGNED(x) ((__typeof__(x))-1 < (__typeof__(x))1)" > out_c
    print "#define SAME_KIND(a, b) (IS_POINTER(a) == IS_POINTER(b) && sizeof(a) == sizeof(b) && \\" > out_c
    print "                         IS_SIGNED(a) == IS_SIGNED(b) && \\" > out_c
    print "                         (!IS_POINTER(a) || __builtin_types_compatible_p(__typeof__(a), __typeof__(b))))\n" > out_c

    print "// Generated by generate_checks.sh: our names, types, records and declarations against the" > out_cxx
    print "// desktop'"'"'s headers." > out_cxx
    print "#include <windows.h>\n#include <shellapi.h>\n#include <mmsystem.h>\n#include <stdarg.h>\n#include <stddef.h>" > out_cxx
    print "#include <string.h>\n#include <wchar.h>\n\n#include <string_view>\n#include <type_traits>\n" > out_cxx
    print "#define EXPANDED_TEXT(x) EXPANDED_TEXT_(x)\n#define EXPANDED_TEXT_(x) #x\n" > out_cxx
    print "// Records are compared field by field; a field of record type by its size alone, the record" > out_cxx
    print "// itself being compared on its own." > out_cxx
    print "template <class Ours, class Theirs> constexpr bool same_field_type() {" > out_cxx
    print "    if constexpr (std::is_array_v<Ours> && std::is_array_v<Theirs>)" > out_cxx
    print "        return std::extent_v<Ours> == std::extent_v<Theirs> &&" > out_cxx
    print "               same_field_type<std::remove_extent_t<Ours>, std::remove_extent_t<Theirs>>();" > out_cxx
    print "    else if constexpr (std::is_class_v<Ours> && std::is_class_v<Theirs>)" > out_cxx
    print "        return sizeof(Ours) == sizeof(Theirs);" > out_cxx
    print "    else" > out_cxx
    print "        return std::is_same_v<Ours, Theirs>;" > out_cxx
    print "}\n" > out_cxx

    for (i = 1; i <= ce_macro_count; i++)
        print "#ifdef " ce_macros[i] "\n#error \"" ce_macros[i] ": the desktop has it too\"\n#endif" > out_c
    print "" > out_c

    for (i = 1; i <= macro_count; i++) {
        name = macro_name[i]
        value = macro_value[i]
        if (is_identifier(value) && !(value in object_macro)) {
            # Another name for a function, a function-like macro or a keyword: the same name.
            print "#ifndef " name "\n#error \"" name ": not in the desktop'"'"'s headers\"\n#else" > out_cxx
            print "static_assert(std::string_view(EXPANDED_TEXT(" name ")) == EXPANDED_TEXT(" value "), \"" name "\");\n#endif" > out_cxx
            continue
        }
        # An enumerator the desktop lacks is an undeclared name.
        if (!(name in enumerator)) print "#ifndef " name "\n#error \"" name ": not in the desktop'"'"'s headers\"\n#else" > out_c
        print "_Static_assert((ULONG_PTR)(" value ") == (ULONG_PTR)(" name "), \"" name ": value\");" > out_c
        print "_Static_assert(SAME_KIND((" value "), (" name ")), \"" name ": type\");" > out_c
        if (!(name in enumerator)) print "#endif" > out_c
    }

    print "\n// Types." > out_cxx
    for (i = 1; i <= typedef_count; i++) print typedefs[i] > out_cxx

    print "\n// Records." > out_cxx
    for (i = 1; i <= record_count; i++) print records[i] "\n" record_checks[i] > out_cxx

    print "// Functions: each is the desktop'"'"'s too, and a declaration that disagrees with the desktop'"'"'s" > out_cxx
    print "// conflicts with it." > out_cxx
    print "namespace desktop {" > out_cxx
    for (i = 1; i <= fn_count; i++) print "using ::" fns[i] ";" > out_cxx
    print "}" > out_cxx
    print "\nextern \"C\" {" > out_cxx
    for (i = 1; i <= decl_count; i++) print decls[i] > out_cxx
    print "\n// The C runtime'"'"'s; which of them the runtime imports from its DLL is not ours to say." > out_cxx
    print "#pragma GCC diagnostic push\n#pragma GCC diagnostic ignored \"-Wattributes\"" > out_cxx
    for (i = 1; i <= crt_count; i++) print crt_decls[i] > out_cxx
    print "#pragma GCC diagnostic pop\n}" > out_cxx
}
' $headers $ce_headers
