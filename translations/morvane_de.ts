<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>MorvaneMain</name>
    <message>
        <source>usage: morvane [Qt options]
       morvane --help | --version
A desktop metronome. It takes no options of its own: set tempo, measure,
subdivision and volume in its window; every setting is kept for the next start.
</source>
        <translation>Aufruf: morvane [Qt-Optionen]
       morvane --help | --version
Ein Metronom für den Schreibtisch. Es hat keine eigenen Optionen: Tempo, Taktart,
Unterteilung und Lautstärke werden im Fenster eingestellt; jede Einstellung bleibt
für den nächsten Start erhalten.
</translation>
    </message>
</context>
</TS>
