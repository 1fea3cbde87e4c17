"""`w2kmedia try`: the media's own installer in a throwaway Wine prefix, with
a report (report.json, report.html and the screenshots)."""
