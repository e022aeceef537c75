# Turns the RESULT lines of the loader benchmarks into one table: per file, each loader's
# throughput and its ratio (of medians) to tinyobjloader and to the fread floor.
function field(name,   i, pair) {
  for (i = 2; i <= NF; i++) {
    split($i, pair, "=")
    if (pair[1] == name) return pair[2]
  }
  return ""
}
/^RESULT / {
  file = field("file"); loader = field("loader")
  if (!(file in seen)) { seen[file] = 1; order[++files] = file; bytes[file] = field("bytes") }
  key = file SUBSEP loader
  if (!((file, "n") in count)) count[file, "n"] = 0
  names[file, ++count[file, "n"]] = loader
  best[key] = field("MBps_best"); med[key] = field("MBps_med"); worst[key] = field("MBps_worst")
  tmin[key] = field("t_min"); tmed[key] = field("t_med"); tmax[key] = field("t_max")
  runs = field("runs")
}
END {
  printf "%-16s %8s  %-14s %9s %9s %9s   %8s %8s %8s   %9s %9s\n", "file", "MB", "loader",
    "MB/s best", "median", "worst", "min ms", "med ms", "max ms", "x tinyobj", "x fread"
  for (f = 1; f <= files; f++) {
    file = order[f]
    for (l = 1; l <= count[file, "n"]; l++) {
      loader = names[file, l]; key = file SUBSEP loader
      tiny = ((file, "tinyobjloader") in med) ? sprintf("%9.2f", med[key] / med[file, "tinyobjloader"]) : sprintf("%9s", "-")
      floor = ((file, "fread") in med) ? sprintf("%9.2f", med[key] / med[file, "fread"]) : sprintf("%9s", "-")
      printf "%-16s %8.1f  %-14s %9.1f %9.1f %9.1f   %8.1f %8.1f %8.1f   %s %s\n", file,
        bytes[file] / 1e6, loader, best[key], med[key], worst[key], tmin[key] * 1000, tmed[key] * 1000, tmax[key] * 1000,
        tiny, floor
    }
  }
  printf "(%d timed runs each after one warm-up; ratios are of the medians)\n", runs
}
