# Doxygen input filter: reads a public header and writes it with its plain
# // comments as documentation comments, the way the headers are written:
#  - the comment at the top of the file describes the file's first class;
#  - a comment directly above a declaration documents it, and every
#    declaration that follows without a blank line in between (overloads,
#    related getters) shares it;
#  - a comment followed by a blank line heads a section and documents nothing.
# A trailing comment after a declaration documents it. Comments inside
# function bodies, lint markers and clang-format switches stay as they are.
# Every line keeps its number (the file's comment joins its class's line, a
# shared comment is repeated at the end of each further declaration), so that
# Doxygen's warnings point into the header.

function indentOf(text) {
    match(text, /^[ \t]*/)
    return RLENGTH
}

function strip(text) {
    sub(/^[ \t]+/, "", text)
    return text
}

function isComment(text) {
    return text ~ /^[ \t]*\/\// && text !~ /^[ \t]*\/\/ *clang-format/
}

# The comment's text on one line; blank comment lines separate paragraphs,
# and lines starting "- " are the items of a list, continued by the lines
# indented under them.
function joined(    i, text, all, inList) {
    all = ""
    inList = 0
    for (i = 1; i <= n; i++) {
        text = comment[i]
        sub(/^[ \t]*\/\/ ?/, "", text)
        gsub(/\*\//, "* /", text)
        gsub(/\\/, "&&", text)
        if (inList && text !~ /^(- |  )/) {
            all = all " </ul>"
            inList = 0
        }
        if (inList) {
            sub(/^  /, "", text)
        }
        if (text ~ /^- /) {
            all = all (inList ? " <li>" : " <ul><li>") substr(text, 3)
            inList = 1
        } else {
            all = all (text == "" ? " <p>" : " " text)
        }
    }
    return all (inList ? " </ul>" : "")
}

function flushComment(asDoc,    i, text) {
    for (i = 1; i <= n; i++) {
        text = comment[i]
        if (asDoc) {
            sub(/\/\//, "///", text)
            gsub(/\\/, "&&", text)
        }
        print text
    }
    n = 0
}

BEGIN { atTop = 1; n = 0; inGroup = 0; depth = 0; fileDoc = "" }

{
    line = $0
    stripped = strip(line)

    # The file's own comment waits for the file's first class.
    if (atTop && isComment(line)) {
        n++
        comment[n] = line
        print ""
        next
    }
    if (atTop) {
        fileDoc = joined()
        n = 0
        atTop = 0
    }

    if (isComment(line) && !(inGroup && (depth > 0 || indentOf(line) > groupIndent))) {
        inGroup = 0
        n++
        comment[n] = line
        next
    }

    if (n > 0) {
        if (stripped == "" || stripped ~ /^(public|private|protected):/ || stripped ~ /^#/ ||
            stripped ~ /^namespace/ || stripped ~ /^}/) {
            flushComment(0)
        } else if (stripped ~ /^(class|struct|enum|union|template|using)[ <]/) {
            flushComment(1)
        } else {
            groupDoc = joined()
            flushComment(1)
            inGroup = 1
            firstDone = 0
            depth = 0
            groupIndent = indentOf(line)
        }
    } else if (inGroup && depth == 0 &&
               (stripped == "" || stripped ~ /^(public|private|protected):/ ||
                stripped ~ /^#/ || indentOf(line) < groupIndent)) {
        inGroup = 0
    }

    # A trailing comment after a member declaration documents the member.
    if (line ~ /;[ \t]+\/\/ / && line !~ /NOLINT/) {
        sub(/;[ \t]+\/\/ /, ";  ///< ", line)
    }

    if (fileDoc != "" && stripped ~ /^(class|struct)[ ]/ && stripped !~ /;[ \t]*$/) {
        line = "/**" fileDoc " */ " line
        fileDoc = ""
    }

    if (inGroup) {
        # Braces of inline bodies, so that comments inside them stay plain.
        code = stripped
        sub(/[ \t]*\/\/.*$/, "", code)
        depth += gsub(/{/, "{", code) - gsub(/}/, "}", code)
        if (depth < 0) {
            depth = 0
        }
        if (depth == 0 && code ~ /[;}]$/) {
            if (firstDone && line !~ /\/\//) {
                line = line "  ///<" groupDoc
            }
            firstDone = 1
        }
    }
    print line
}

END {
    flushComment(0)
}
