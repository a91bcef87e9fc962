# SPDX-License-Identifier: MIT
# Reads the window's form (a Qt Designer .ui file) and writes what it says about each control for
# the windows and tests that cannot read it themselves: a C++ header for the Win32 window, and a
# plain table of the controls' places for the scripts that click them.
# Usage: cmake -DFORM=frmMain.ui -DHEADER=FormTable.h -DTABLE=FormTable.txt -P GenerateFormTable.cmake
#
# The form is Designer's own output: one element or text a line at most, attributes in the order
# Designer writes them. This reads that much XML and no more, and stops at anything it does not
# know rather than guess.
cmake_minimum_required(VERSION 3.25)

foreach(argument FORM HEADER TABLE)
    if(NOT DEFINED ${argument})
        message(FATAL_ERROR "GenerateFormTable.cmake needs -D${argument}=...")
    endif()
endforeach()
get_filename_component(formName "${FORM}" NAME)

function(fail text)
    message(FATAL_ERROR "${formName}: ${text}")
endfunction()

# A text of the form as it reads: character references back to characters, and the semicolons
# hidden while the form was a list (see below) back as well. Only ASCII is written as a reference
# in the form; other characters stand in it as UTF-8.
function(decodeText text outputVariable)
    string(REPLACE "${semicolon}" ";" text "${text}")
    while(text MATCHES "&#([0-9]+);")
        set(reference "${CMAKE_MATCH_0}")
        if(CMAKE_MATCH_1 GREATER 127)
            fail("the character reference ${reference} is not ASCII; write the character itself")
        endif()
        string(ASCII ${CMAKE_MATCH_1} character)
        string(REPLACE "${reference}" "${character}" text "${text}")
    endwhile()
    string(REPLACE "&lt;" "<" text "${text}")
    string(REPLACE "&gt;" ">" text "${text}")
    string(REPLACE "&quot;" "\"" text "${text}")
    string(REPLACE "&apos;" "'" text "${text}")
    string(REPLACE "&amp;" "&" text "${text}")
    set(${outputVariable} "${text}" PARENT_SCOPE)
endfunction()

function(cppString text outputVariable)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "\r" "\\r" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    string(REPLACE "\t" "\\t" text "${text}")
    set(${outputVariable} "\"${text}\"" PARENT_SCOPE)
endfunction()

file(READ "${FORM}" xml)
# CMake lists split at ";": the form's semicolons are hidden behind a character the form cannot
# hold until each text is decoded.
string(ASCII 1 semicolon)
string(REPLACE ";" "${semicolon}" xml "${xml}")
string(REGEX MATCHALL "<[^>]*>|[^<]+" tokens "${xml}")

set(elements "")      # the open elements, innermost last
set(widgets "")       # the open widgets, innermost last
set(property "")      # the property being read, if any
set(controls "")      # every widget but the window, in the order the form lists them
set(tabStops "")
foreach(token IN LISTS tokens)
    if(token MATCHES "^<[?!]")
        continue() # the XML declaration and comments
    elseif(token MATCHES "^<widget class=\"([^\"]+)\" name=\"([^\"]+)\">$")
        set(name "${CMAKE_MATCH_2}")
        if(DEFINED class_${name})
            fail("two controls are called ${name}")
        endif()
        set(class_${name} "${CMAKE_MATCH_1}")
        list(LENGTH widgets depth)
        if(depth GREATER 0)
            list(GET widgets -1 parent_${name})
            list(APPEND controls ${name})
        else()
            set(window ${name})
        endif()
        list(APPEND widgets ${name})
        list(APPEND elements widget)
    elseif(token STREQUAL "</widget>")
        list(POP_BACK widgets)
        list(POP_BACK elements)
    elseif(token MATCHES "^<property name=\"([^\"]+)\"( stdset=\"0\")?>$")
        set(property "${CMAKE_MATCH_1}")
        list(APPEND elements property)
    elseif(token STREQUAL "</property>")
        set(property "")
        list(POP_BACK elements)
    elseif(token MATCHES "^<[^/].*/>$")
        continue() # an empty element, such as <resources/>
    elseif(token MATCHES "^<([a-z]+)( [^>]*)?>$")
        list(APPEND elements ${CMAKE_MATCH_1})
    elseif(token MATCHES "^</([a-z]+)>$")
        list(POP_BACK elements)
    elseif(token MATCHES "^<")
        fail("cannot read ${token}")
    elseif(elements STREQUAL "")
        continue() # between the declaration and the root element
    else()
        # A text: what it means depends on the element it stands in and the property around it.
        list(GET elements -1 element)
        decodeText("${token}" text)
        if(element STREQUAL "tabstop")
            list(APPEND tabStops ${text})
            continue()
        endif()
        if(property STREQUAL "")
            continue()
        endif()
        list(GET widgets -1 name)
        if(property STREQUAL "geometry" AND element MATCHES "^(x|y|width|height)$")
            set(${element}_${name} ${text})
        elseif(property MATCHES "^(text|title|windowTitle)$" AND element STREQUAL "string")
            set(text_${name} "${text}")
        elseif(property STREQUAL "font" AND element STREQUAL "family")
            set(font_${name} "${text}")
        elseif(property STREQUAL "enabled" AND element STREQUAL "bool")
            set(enabled_${name} ${text})
        elseif(property STREQUAL "frameShape" AND element STREQUAL "enum")
            set(frame_${name} ${text})
        elseif(property STREQUAL "alignment" AND element STREQUAL "set")
            set(alignment_${name} "${text}")
        elseif(property STREQUAL "pixmap" AND element STREQUAL "pixmap")
            set(pixmap_${name} "${text}")
        endif()
    endif()
endforeach()
if(NOT DEFINED window)
    fail("no window")
endif()

# The Win32 window takes the focus round its controls in the order it makes them, which is the
# order the form lists them in; the form's own tab order must agree.
set(listedStops "")
foreach(name IN LISTS controls)
    if(name IN_LIST tabStops)
        list(APPEND listedStops ${name})
    endif()
endforeach()
if(NOT listedStops STREQUAL tabStops)
    list(JOIN tabStops ", " tabOrder)
    list(JOIN listedStops ", " formOrder)
    fail("the tab order (${tabOrder}) must follow the order the form lists its controls in (${formOrder}): move the controls in the form, not only their tab stops")
endif()

cppString("${text_${window}}" title)
cppString("${font_${window}}" windowFont)
set(header "// SPDX-License-Identifier: MIT
// Generated from ${formName} by GenerateFormTable.cmake: edit the form, not this.
#pragma once

#include \"FormControl.h\"

namespace quillon::win32::form {

inline constexpr FormWindow Window{${title}, ${width_${window}}, ${height_${window}}, ${windowFont}};

inline constexpr FormControl Controls[]{
")
set(table "# ${formName}: each control's name and place in the client area (left top width height)\n")
foreach(name IN LISTS controls)
    foreach(side x y width height)
        if(NOT DEFINED ${side}_${name})
            fail("${name} has no place of its own (${side})")
        endif()
    endforeach()
    # A place inside a frame counts from the frame's corner; here every place counts from the
    # client area's, and a control without a font of its own has its frame's or the window's.
    set(left ${x_${name}})
    set(top ${y_${name}})
    set(font "${font_${name}}")
    set(parent ${parent_${name}})
    while(NOT parent STREQUAL window)
        math(EXPR left "${left} + ${x_${parent}}")
        math(EXPR top "${top} + ${y_${parent}}")
        if(font STREQUAL "")
            set(font "${font_${parent}}")
        endif()
        set(parent ${parent_${parent}})
    endwhile()
    if(font STREQUAL "")
        set(font "${font_${window}}")
    endif()
    # Controls of one kind side by side are numbered: txtHeaderInfo_2 is number 2 of txtHeaderInfo.
    if(name MATCHES "^(.+)_([0-9]+)$")
        set(group ${CMAKE_MATCH_1})
        set(index ${CMAKE_MATCH_2})
    else()
        set(group ${name})
        set(index -1)
    endif()
    set(enabled true)
    if(enabled_${name} STREQUAL "false")
        set(enabled false)
    endif()
    set(bordered false)
    if(DEFINED frame_${name} AND NOT frame_${name} STREQUAL "QFrame::NoFrame")
        set(bordered true)
    endif()
    set(centred false)
    if(alignment_${name} MATCHES "Qt::AlignHCenter|Qt::AlignCenter")
        set(centred true)
    endif()
    set(tabStop false)
    if(name IN_LIST tabStops)
        set(tabStop true)
    endif()
    cppString("${text_${name}}" text)
    cppString("${font}" font)
    cppString("${pixmap_${name}}" pixmap)
    string(APPEND header "    {\"${name}\", \"${group}\", ${index}, \"${class_${name}}\", ${text}, "
                         "{${left}, ${top}, ${width_${name}}, ${height_${name}}}, ${font}, "
                         "${pixmap}, ${enabled}, ${bordered}, ${centred}, ${tabStop}},\n")
    string(APPEND table "${name} ${left} ${top} ${width_${name}} ${height_${name}}\n")
endforeach()
string(APPEND header "};

} // namespace quillon::win32::form
")

# Written only when changed, so that what includes them is not rebuilt for nothing.
foreach(output HEADER TABLE)
    string(TOLOWER ${output} content)
    file(WRITE "${${output}}.new" "${${content}}")
    file(COPY_FILE "${${output}}.new" "${${output}}" ONLY_IF_DIFFERENT)
    file(REMOVE "${${output}}.new")
endforeach()
