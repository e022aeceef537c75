# Draws the median throughput of each loader against file size for the v/vt/vn OBJ files,
# as an SVG line chart with logarithmic axes (the fread floor runs far above the loaders).
function field(name,   i, pair) {
  for (i = 2; i <= NF; i++) {
    split($i, pair, "=")
    if (pair[1] == name) return pair[2]
  }
  return ""
}
/^RESULT / && field("file") ~ /^vtn-.*\.obj$/ {
  loader = field("loader")
  if (!(loader in known)) { known[loader] = 1; loaders[++n] = loader }
  points[loader] = points[loader] " " field("bytes") / 1e6 ":" field("MBps_med")
  mb = field("bytes") / 1e6; if (mb > maxmb) maxmb = mb; if (minmb == 0 || mb < minmb) minmb = mb
  if (field("MBps_med") + 0 > top) top = field("MBps_med") + 0
}
function x(mb) { return 70 + (log(mb) - log(minmb)) / (log(maxmb) - log(minmb)) * 480 }
function y(rate) { return 330 - (log(rate) - log(floorrate)) / (log(ceiling) - log(floorrate)) * 290 }
END {
  floorrate = 10; ceiling = 10
  while (ceiling < top) ceiling *= 10
  split("#1f77b4 #d62728 #2ca02c #9467bd #ff7f0e", colours, " ")
  print "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"700\" height=\"380\" font-family=\"sans-serif\" font-size=\"12\">"
  print "<rect width=\"700\" height=\"380\" fill=\"white\"/>"
  print "<line x1=\"70\" y1=\"330\" x2=\"560\" y2=\"330\" stroke=\"black\"/><line x1=\"70\" y1=\"40\" x2=\"70\" y2=\"330\" stroke=\"black\"/>"
  for (r = floorrate; r <= ceiling; r *= 10) {
    for (step = 1; step <= 3 && r * step <= ceiling; step += 2) {
      printf "<line x1=\"66\" y1=\"%.1f\" x2=\"560\" y2=\"%.1f\" stroke=\"#ddd\"/><text x=\"62\" y=\"%.1f\" text-anchor=\"end\">%d</text>\n", y(r * step), y(r * step), y(r * step) + 4, r * step
    }
  }
  split("1 10 50 210", sizes, " ")
  for (s = 1; s <= 4; s++) if (sizes[s] >= minmb * 0.8 && sizes[s] <= maxmb * 1.2)
    printf "<text x=\"%.1f\" y=\"348\" text-anchor=\"middle\">%s MB</text>\n", x(sizes[s]), sizes[s]
  print "<text x=\"315\" y=\"370\" text-anchor=\"middle\">OBJ file size (v/vt/vn faces, log scale)</text>"
  print "<text x=\"18\" y=\"185\" text-anchor=\"middle\" transform=\"rotate(-90 18 185)\">MB/s (median, log scale)</text>"
  for (l = 1; l <= n; l++) {
    loader = loaders[l]; m = split(points[loader], pts, " "); path = ""
    for (p = 1; p <= m; p++) {
      split(pts[p], xy, ":"); path = path sprintf("%s%.1f,%.1f ", p == 1 ? "M" : "L", x(xy[1]), y(xy[2]))
      printf "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"%s\"/>\n", x(xy[1]), y(xy[2]), colours[l]
    }
    printf "<path d=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"2\"/>\n", path, colours[l]
    printf "<rect x=\"575\" y=\"%d\" width=\"12\" height=\"12\" fill=\"%s\"/><text x=\"593\" y=\"%d\">%s</text>\n", 50 + 20 * l, colours[l], 60 + 20 * l, loader
  }
  print "</svg>"
}
