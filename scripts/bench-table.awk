# Turns the RESULT lines of the loader benchmarks into one table: per file, each loader's
# throughput and its ratio (of medians) to tinyobjloader and to the fread floor, and for the
# viewer's own reading the ratio it is held to and whether it met it: 10 times tinyobjloader
# for OBJ files up to about 10 MB and 6.5 times for larger ones, 0.8 times fread for R and RA
# files. A loader may give one line of several runs, or several lines of one run each
# (scripts/bench runs the loaders in turn, one load at a time, so that a slow spell of the
# machine hits all of them alike); the runs of all its lines are taken together.
function field(name,   i, pair) {
  for (i = 2; i <= NF; i++) {
    split($i, pair, "=")
    if (pair[1] == name) return pair[2]
  }
  return ""
}
function sort(values, n,   i, j, v) {
  for (i = 2; i <= n; i++) {
    v = values[i]
    for (j = i - 1; j >= 1 && values[j] > v; j--) values[j + 1] = values[j]
    values[j + 1] = v
  }
}
/^RESULT / {
  file = field("file"); loader = field("loader")
  if (!(file in seen)) { seen[file] = 1; order[++files] = file; bytes[file] = field("bytes") }
  key = file SUBSEP loader
  if (!(key in lines)) { names[file, ++count[file]] = loader; lines[key] = 0; runs[key] = 0 }
  lines[key]++; runs[key] += field("runs")
  first[key] = $0
  times[key, lines[key]] = field("t_med")
}
END {
  # Per loader: minimum, median and maximum time, from one line or across its lines.
  for (key in lines) {
    n = lines[key]
    if (n == 1) {
      $0 = first[key]
      tmin[key] = field("t_min"); tmed[key] = field("t_med"); tmax[key] = field("t_max")
    } else {
      delete values
      for (i = 1; i <= n; i++) values[i] = times[key, i]
      sort(values, n)
      tmin[key] = values[1]; tmax[key] = values[n]
      tmed[key] = n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
  }
  printf "%-16s %8s  %-14s %9s %9s %9s   %8s %8s %8s %5s   %9s %9s   %s\n", "file", "MB", "loader",
    "MB/s best", "median", "worst", "min ms", "med ms", "max ms", "runs", "x tinyobj", "x fread",
    "target"
  for (f = 1; f <= files; f++) {
    file = order[f]; mb = bytes[file] / 1e6
    for (l = 1; l <= count[file]; l++) {
      loader = names[file, l]; key = file SUBSEP loader
      tiny = ((file, "tinyobjloader") in tmed) ? sprintf("%9.2f", tmed[file, "tinyobjloader"] / tmed[key]) : sprintf("%9s", "-")
      floor = ((file, "fread") in tmed) ? sprintf("%9.2f", tmed[file, "fread"] / tmed[key]) : sprintf("%9s", "-")
      target = ""
      if (loader == "sceneview" && file ~ /\.obj$/ && ((file, "tinyobjloader") in tmed)) {
        want = bytes[file] <= 11e6 ? 10 : 6.5
        got = tmed[file, "tinyobjloader"] / tmed[key]
        target = sprintf("x%s tinyobj: %s", want, got >= want ? "met" : "missed")
      } else if (loader == "sceneview" && ((file, "fread") in tmed)) {
        got = tmed[file, "fread"] / tmed[key]
        target = sprintf("x0.8 fread: %s", got >= 0.8 ? "met" : "missed")
      }
      printf "%-16s %8.1f  %-14s %9.1f %9.1f %9.1f   %8.3f %8.3f %8.3f %5d   %s %s   %s\n", file,
        mb, loader, mb / tmin[key], mb / tmed[key], mb / tmax[key], tmin[key] * 1000,
        tmed[key] * 1000, tmax[key] * 1000, runs[key], tiny, floor, target
    }
  }
  print "(ratios are of the median times)"
}
