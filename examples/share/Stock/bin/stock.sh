#!/bin/sh
echo "Velmora Stock 3.0.1.0"
