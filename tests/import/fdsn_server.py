#!/usr/bin/env python3
"""A stand-in FDSN data centre for the fetch tests, on 127.0.0.1 only.

Usage: fdsn_server.py DIR LIFETIME_SECONDS
DIR holds event.txt, channels.txt, stations.txt, NET.STA.mseed and an
optional rules.txt with lines "SERVICE[:STATION] ACTION", ACTION being a
status code (204, 404, 500, ...) or "drop" (close the connection without an
answer) or "drop-once" (drop the first request only). Every request line is
appended to DIR/requests.log. The chosen port is printed on the first line;
the server stops by itself after LIFETIME_SECONDS.
"""
import http.server
import os
import sys
import threading
import urllib.parse

directory = sys.argv[1]
lifetime = float(sys.argv[2])
rules = {}
if os.path.exists(os.path.join(directory, "rules.txt")):
    with open(os.path.join(directory, "rules.txt")) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2:
                rules[parts[0]] = parts[1]
dropped = set()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body=b""):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        with open(os.path.join(directory, "requests.log"), "a") as log:
            log.write(self.path + "\n")
        url = urllib.parse.urlparse(self.path)
        query = urllib.parse.parse_qs(url.query)
        parts = url.path.strip("/").split("/")
        if len(parts) != 4 or parts[0] != "fdsnws" or parts[3] != "query":
            return self.answer(404, b"Error 404: no such service\n")
        service = parts[1]
        if service == "station":
            service = "station-" + query.get("level", ["station"])[0]
        key = service
        if service == "dataselect":
            key = "dataselect:" + query.get("station", [""])[0]
        rule = rules.get(key) or rules.get(service)
        if rule in ("drop", "drop-once"):
            if rule == "drop" or key not in dropped:
                dropped.add(key)
                self.close_connection = True
                self.connection.shutdown(2)
                return
        elif rule:
            return self.answer(int(rule), b"Error %s: as the test asked\n" % rule.encode())
        if service == "event":
            name = "event.txt"
        elif service == "station-channel":
            name = "channels.txt"
        elif service == "station-station":
            name = "stations.txt"
        elif service == "dataselect":
            name = query.get("network", [""])[0] + "." + query.get("station", [""])[0] + ".mseed"
        else:
            return self.answer(400, b"Error 400: unknown level\n")
        path = os.path.join(directory, name)
        if not os.path.exists(path):
            return self.answer(204)
        with open(path, "rb") as f:
            self.answer(200, f.read())


class Server(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # a connection dropped on purpose


server = Server(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
threading.Timer(lifetime, server.shutdown).start()
server.serve_forever()
