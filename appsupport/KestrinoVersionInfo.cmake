# kestrino_version_info(<target> <Mirabek|Pavlune>)
#
# Carries the program's version information inside <target>: generates a source file that
# defines appsupport::ExecutableVersionBlock from the values below and adds it to the
# target, which must also link kestrino_appsupport_core (TkAppInfo reads the block).
# These are the only place where the programs' version values are kept.

function(_kestrino_hex4 value out)
    math(EXPR hex "${value}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${hex}" 2 -1 hex)
    string(TOUPPER "${hex}" hex)
    string(LENGTH "${hex}" length)
    while(length LESS 4)
        string(PREPEND hex "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "${hex}" PARENT_SCOPE)
endfunction()

function(kestrino_version_info target program)
    # Japanese, code page 932.
    set(language 0x0411)
    set(codePage 0x03A4)
    set(value_ProductVersion "1.0.0.0")
    set(value_LegalCopyright "Copyright (C) 2026 The Kestrino developers")
    if(program STREQUAL "Mirabek")
        set(value_ProductName "Mirabek")
        set(value_FileVersion "1.5.0.0")
        set(value_FileDescription "文字の変換を行うソフトです。")
    elseif(program STREQUAL "Pavlune")
        set(value_ProductName "Pavlune")
        set(value_FileVersion "1.6.0.0")
        set(value_FileDescription "クリップボードの文字列を変換します。")
        set(value_CompanyName "The Kestrino developers")
    else()
        message(FATAL_ERROR "kestrino_version_info: unknown program '${program}'")
    endif()

    _kestrino_hex4(${language} languageHex)
    _kestrino_hex4(${codePage} codePageHex)
    set(strings "")
    foreach(name Comments CompanyName FileDescription FileVersion InternalName LegalCopyright
                 LegalTradeMarks OriginalFilename PrivateBuild ProductName ProductVersion)
        set(value "${value_${name}}")
        string(REPLACE "\\" "\\\\" value "${value}")
        string(REPLACE "\"" "\\\"" value "${value}")
        string(APPEND strings
            "    {u\"\\\\StringFileInfo\\\\${languageHex}${codePageHex}\\\\${name}\", u\"${value}\"},\n")
    endforeach()
    math(EXPR VERSION_TRANSLATION "(${codePage} << 16) | ${language}" OUTPUT_FORMAT HEXADECIMAL)
    set(VERSION_TARGET "${target}")
    set(VERSION_STRINGS "${strings}")

    set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp")
    configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/VersionBlock.cpp.in" "${output}" @ONLY)
    target_sources(${target} PRIVATE "${output}")
endfunction()
