# Time per model switch against the number of models on the scale disc; data
# from scripts/bench --plot (processor time, which the load of a shared machine
# disturbs less than wall time).
set terminal pngcairo size 800,500
set output out
set title "Docshelf: one model switch on the scale disc"
set xlabel "models on the disc"
set ylabel "processor milliseconds per switch"
set key top left
set grid
set logscale y
plot data using 1:2 with linespoints title "XML, key paths", \
     data using 1:4 with linespoints title "binary, key paths"
