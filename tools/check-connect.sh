#!/bin/sh
# Fails when a signal connection could outlive its receiver or escape the compiler's check:
#  - connect(sender, signal, functor) without a context object (the functor would still run
#    after whatever it captured is gone);
#  - connect(sender, signal, [..]{..}, type): a lambda where the context object belongs;
#  - the string forms SIGNAL(...) and SLOT(...), which the compiler cannot check.
# The socket call ::connect is not a signal connection.
# Usage: tools/check-connect.sh [file or folder ...]   (default: every C++ source of the
# project, the tests and tools included). Prints each offending call and exits 1.
cd "$(dirname "$0")/.." || exit 2
[ $# -eq 0 ] && set -- about app commands custom engine history mainwin platform settings sjis widgets \
  tests tools
find "$@" \( -name '*.cpp' -o -name '*.h' \) -type f 2>/dev/null | sort | exec perl -e '
use strict;
use warnings;
my $bad = 0;
while (my $file = <STDIN>) {
    chomp $file;
    open(my $fh, "<", $file) or die "$file: $!\n";
    my $src = do { local $/; <$fh> };
    close $fh;
    # Comments, string and character literals become blanks of the same length, newlines
    # kept, so that positions still give the right line numbers.
    $src =~ s{(//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\x27(?:\\.|[^\x27\\\n])*\x27)}
             { (my $m = $1) =~ s/[^\n]/ /g; $m }gse;
    while ($src =~ /\b(SIGNAL|SLOT)\s*\(/g) {
        report($file, $src, $-[0], "$1() names a signal or slot by a string");
    }
    while ($src =~ /\bconnect\s*\(/g) {
        my $start = $-[0];
        my $pos = $+[0];
        # ::connect(fd, address, length) is the socket call, not a signal connection.
        next if $start >= 2 && substr($src, $start - 2, 2) eq "::" &&
                ($start < 3 || substr($src, $start - 3, 1) !~ /\w/);
        my @args = ("");
        my $depth = 0;
        for (; $pos < length $src; ++$pos) {
            my $c = substr($src, $pos, 1);
            if ($c =~ /[(\[{]/) { ++$depth; }
            elsif ($c =~ /[)\]}]/) { last if $depth == 0; --$depth; }
            elsif ($c eq "," && $depth == 0) { push @args, ""; next; }
            $args[-1] .= $c;
        }
        s/^\s+|\s+$//g for @args;
        # A declaration or a call without arguments is not a connection.
        next if @args < 2 || $args[0] eq "" || $args[0] =~ /^(const\s+)?\w+\s*[*&]?\s+\w+$/;
        if (@args < 4) {
            report($file, $src, $start, "connect() without a context object");
        } elsif ($args[2] =~ /^\[/) {
            report($file, $src, $start, "connect() with a lambda where the context object belongs");
        }
    }
}
sub report {
    my ($file, $src, $at, $why) = @_;
    my $line = 1 + (substr($src, 0, $at) =~ tr/\n//);
    print "$file:$line: $why\n";
    $bad = 1;
}
exit $bad;
'
