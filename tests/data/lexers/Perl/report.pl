#!/usr/bin/perl
use strict;
use warnings;

# Sums a column of numbers.
my %totals;
my @lines = <STDIN>;

sub parse_line {
    my ($line) = @_;
    chomp $line;
    my ($name, $value) = split /\t/, $line;
    return ($name, $value // 0);
}

foreach my $line (@lines) {
    my ($name, $value) = parse_line($line);
    next unless defined $name;
    $totals{$name} += $value * 1.5e0;
}

for my $name (sort keys %totals) {
    printf "%-10s %8.2f\n", $name, $totals{$name};
}
print 'single $quoted', "\n" if $#lines > 0x10;
die "no input\n" unless @lines;
